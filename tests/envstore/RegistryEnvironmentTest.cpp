#include "RegistryEnvironment.h"
#include "AppUnderTest.h"
#include "MachineEnvironment.h"
#include <gtest/gtest.h>

using harness::MachineEnvironment;

namespace {

const char kValue[] = "TAMRIVEL_STORE_TEST";

class RegistryEnvironmentTest : public ::testing::Test {
protected:
    harness::MachineEnvironmentGuard guard{{kValue}};
};

std::vector<BYTE> Bytes(const std::string& s, bool zero = true)
{
    std::vector<BYTE> v(s.begin(), s.end());
    if (zero) v.push_back(0);
    return v;
}

TEST_F(RegistryEnvironmentTest, ScopeKeywordsMatchWithoutRegardToCase)
{
    for (const char* scope : {"SYSTEM", "system", "System", "sYsTeM"})
        EXPECT_TRUE(RegistryEnvironment(scope).IsOpen()) << scope;
    for (const char* scope : {"CURRENTUSER", "CurrentUser", "currentuser"})
        EXPECT_TRUE(RegistryEnvironment(scope).IsOpen()) << scope;
    for (const char* scope : {"", "USER", "SYSTEM ", "MACHINE"}) {
        RegistryEnvironment env(scope);
        EXPECT_FALSE(env.IsOpen()) << scope;
        CString text("unchanged");
        EXPECT_NE(ERROR_SUCCESS, env.Read("PATH", text)) << scope;
        EXPECT_EQ(CString("unchanged"), text);
        EXPECT_NE(ERROR_SUCCESS, env.Write(kValue, "x")) << scope;
    }
    EXPECT_FALSE(MachineEnvironment::Get(kValue)) << "a refused scope must not write anywhere";
}

TEST_F(RegistryEnvironmentTest, WritesExpandableTextWithItsTerminator)
{
    ASSERT_EQ(ERROR_SUCCESS, WriteEnvironmentValue("SYSTEM", kValue, "C:\\jdk"));
    auto stored = MachineEnvironment::Get(kValue);
    ASSERT_TRUE(stored);
    EXPECT_EQ(static_cast<DWORD>(REG_EXPAND_SZ), stored->type);
    EXPECT_EQ(Bytes("C:\\jdk"), stored->data);
    EXPECT_EQ(7u, stored->data.size());

    ASSERT_EQ(ERROR_SUCCESS, WriteEnvironmentValue("system", kValue, ""));
    stored = MachineEnvironment::Get(kValue);
    ASSERT_TRUE(stored);
    EXPECT_EQ(static_cast<DWORD>(REG_EXPAND_SZ), stored->type);
    EXPECT_EQ(std::vector<BYTE>{0}, stored->data);
}

TEST_F(RegistryEnvironmentTest, ReadsReferencesUnexpandedWhateverTheType)
{
    for (DWORD type : {static_cast<DWORD>(REG_SZ), static_cast<DWORD>(REG_EXPAND_SZ)}) {
        MachineEnvironment::Set(kValue, type, Bytes("%SystemRoot%\\system32;C:\\x"));
        CString text;
        ASSERT_EQ(ERROR_SUCCESS, ReadEnvironmentValue("SYSTEM", kValue, text));
        EXPECT_EQ(CString("%SystemRoot%\\system32;C:\\x"), text) << "type " << type;
    }
}

TEST_F(RegistryEnvironmentTest, MissingValueLeavesTheTextAlone)
{
    MachineEnvironment::Delete(kValue);
    CString text("before");
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, ReadEnvironmentValue("SYSTEM", kValue, text));
    EXPECT_EQ(CString("before"), text);
}

TEST_F(RegistryEnvironmentTest, ReadsValuesWholeWhateverTheirLength)
{
    // Real machine PATHs outgrow any fixed buffer; a clipped read would later be written back.
    for (size_t length : {4095u, 4096u, 4097u, 20000u, 100000u}) {
        std::string big;
        for (size_t i = 0; big.size() < length; ++i)
            big += "C:\\Tools\\t" + std::to_string(i) + ";";
        big.resize(length);
        MachineEnvironment::SetText(kValue, big);
        CString text("stale");
        ASSERT_EQ(ERROR_SUCCESS, ReadEnvironmentValue("SYSTEM", kValue, text)) << length;
        EXPECT_EQ(big, text.str()) << length;
    }
}

TEST_F(RegistryEnvironmentTest, TextEndsAtTheFirstZeroOrTheDataEnd)
{
    MachineEnvironment::Set(kValue, REG_BINARY, Bytes("abc", false));
    CString text;
    ASSERT_EQ(ERROR_SUCCESS, ReadEnvironmentValue("SYSTEM", kValue, text));
    EXPECT_EQ(CString("abc"), text);

    std::vector<BYTE> withZero = Bytes("left");
    for (char c : std::string("right")) withZero.push_back(static_cast<BYTE>(c));
    MachineEnvironment::Set(kValue, REG_SZ, withZero);
    ASSERT_EQ(ERROR_SUCCESS, ReadEnvironmentValue("SYSTEM", kValue, text));
    EXPECT_EQ(CString("left"), text);
}

TEST_F(RegistryEnvironmentTest, EveryWriteIsBroadcastToOtherProcessesEvenWhenItFails)
{
    harness::BroadcastListener listener;
    ASSERT_EQ(0, listener.Count());
    WriteEnvironmentValue("SYSTEM", kValue, "one");
    EXPECT_EQ(1, listener.Count());
    WriteEnvironmentValue("SYSTEM", kValue, "two");
    EXPECT_EQ(2, listener.Count());
    WriteEnvironmentValue("SYSTEM", kValue, "");
    EXPECT_EQ(3, listener.Count());

    for (int i = 0; i < 3; ++i)
        EXPECT_NE(ERROR_SUCCESS, WriteEnvironmentValue("USER", kValue, "refused"));
    EXPECT_EQ(6, listener.Count());
}

TEST(ProcessVariable, IsReadWholeAndEmptyWhenUnset)
{
    const std::string big(9000, 'v');
    SetEnvironmentVariableA("TAMRIVEL_BIG", big.c_str());
    EXPECT_EQ(big, GetProcessVariable("TAMRIVEL_BIG").str());
    SetEnvironmentVariableA("TAMRIVEL_BIG", "");
    EXPECT_TRUE(GetProcessVariable("TAMRIVEL_BIG").IsEmpty());
    SetEnvironmentVariableA("TAMRIVEL_BIG", nullptr);
    EXPECT_TRUE(GetProcessVariable("TAMRIVEL_BIG").IsEmpty());
}

}  // namespace
