#include "RegistryEnvironment.h"
#include "AppUnderTest.h"
#include "MachineEnvironment.h"
#include <gtest/gtest.h>
#include <aclapi.h>
#include <sddl.h>
#include <chrono>
#include <thread>

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

std::vector<BYTE> WideBytes(const std::wstring& text)
{
    const BYTE* first = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(first, first + (text.size() + 1) * sizeof(wchar_t));
}

// The value's type must be REG_EXPAND_SZ; its data as stored, not through the code page.
std::vector<BYTE> StoredBytes(const wchar_t* name)
{
    HKEY key = nullptr;
    std::vector<BYTE> data(65536);
    DWORD size = static_cast<DWORD>(data.size());
    DWORD type = REG_NONE;
    const std::wstring path = WidenCodePageText(MachineEnvironment::KeyPath());
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return {};
    const LONG status = RegQueryValueExW(key, name, nullptr, &type, data.data(), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_EXPAND_SZ)
        return {};
    data.resize(size);
    return data;
}

TEST_F(RegistryEnvironmentTest, WideValuesTravelWholeInUtf16)
{
    const wchar_t kName[] = L"TAMRIVEL_STORE_TEST";
    struct Row {
        std::wstring text;
        bool fitsCodePage;
    };
    const Row rows[] = {
        {L"C:\\Program Files\\\xD55C\xAE00\\bin", false},
        {L"C:\\Windows;C:\\Caf\xE9\x0161;%SystemRoot%\\bin", false},
        {L"D:\\\x8F6F\x4EF6\\\x4FD3;C:\\jdk\\bin", true},
        {L"", true},
    };
    for (const Row& row : rows) {
        ASSERT_EQ(ERROR_SUCCESS, WriteEnvironmentValueW("SYSTEM", kName, row.text));
        EXPECT_EQ(WideBytes(row.text), StoredBytes(kName));
        std::wstring back = L"stale";
        ASSERT_EQ(ERROR_SUCCESS, ReadEnvironmentValueW("SYSTEM", kName, back));
        EXPECT_TRUE(back == row.text);
        EXPECT_EQ(row.fitsCodePage, FitsCodePage(row.text));
        // Through the code page the value only survives when it fits.
        CString narrow;
        ASSERT_EQ(ERROR_SUCCESS, ReadEnvironmentValue("SYSTEM", kValue, narrow));
        EXPECT_EQ(row.fitsCodePage, WidenCodePageText(narrow) == row.text);
    }
    std::wstring untouched = L"before";
    MachineEnvironment::Delete(kValue);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, ReadEnvironmentValueW("SYSTEM", kName, untouched));
    EXPECT_TRUE(untouched == L"before");
}

// Lets everyone only read the machine-wide block while it lives.
class ReadOnlyMachineBlock {
public:
    ReadOnlyMachineBlock()
    {
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, MachineEnvironment::KeyPath(), 0, READ_CONTROL | WRITE_DAC, &m_key);
        DWORD size = 0;
        RegGetKeySecurity(m_key, DACL_SECURITY_INFORMATION, nullptr, &size);
        m_saved.resize(size);
        RegGetKeySecurity(m_key, DACL_SECURITY_INFORMATION, m_saved.data(), &size);
        PSECURITY_DESCRIPTOR readOnly = nullptr;
        ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;CI;KR;;;WD)", SDDL_REVISION_1, &readOnly, nullptr);
        m_applied = RegSetKeySecurity(m_key, DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS;
        LocalFree(readOnly);
    }
    ~ReadOnlyMachineBlock()
    {
        RegSetKeySecurity(m_key, DACL_SECURITY_INFORMATION, m_saved.data());
        RegCloseKey(m_key);
    }
    bool Applied() const { return m_applied; }

private:
    HKEY m_key = nullptr;
    std::vector<BYTE> m_saved;
    bool m_applied = false;
};

TEST_F(RegistryEnvironmentTest, WithoutWriteRightsReadsWorkAndWritesSayAccessDenied)
{
    MachineEnvironment::SetText(kValue, "kept");
    harness::BroadcastListener listener;
    {
        ReadOnlyMachineBlock readOnly;
        ASSERT_TRUE(readOnly.Applied());
        CString text;
        EXPECT_EQ(ERROR_SUCCESS, ReadEnvironmentValue("SYSTEM", kValue, text));
        EXPECT_EQ(CString("kept"), text);
        std::wstring wide;
        EXPECT_EQ(ERROR_SUCCESS, ReadEnvironmentValueW("SYSTEM", L"TAMRIVEL_STORE_TEST", wide));
        EXPECT_EQ(ERROR_ACCESS_DENIED, WriteEnvironmentValue("SYSTEM", kValue, "new"));
        EXPECT_EQ(ERROR_ACCESS_DENIED, WriteEnvironmentValueW("SYSTEM", L"TAMRIVEL_STORE_TEST", L"new"));
        RegistryEnvironment object("SYSTEM");
        EXPECT_TRUE(object.IsOpen());
        EXPECT_EQ(ERROR_ACCESS_DENIED, object.Write(kValue, "new"));
    }
    EXPECT_EQ("kept", MachineEnvironment::Get(kValue)->Text());
    EXPECT_EQ(3, listener.Count());
}

TEST_F(RegistryEnvironmentTest, AHungWindowDoesNotHoldTheWriteForGood)
{
    // A top-level window whose thread stops taking messages.
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread hung([&] {
        HWND window = CreateWindowExA(0, "STATIC", "hung", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                      nullptr);
        SetEvent(created);
        WaitForSingleObject(release, INFINITE);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        DestroyWindow(window);
    });
    WaitForSingleObject(created, INFINITE);

    harness::BroadcastListener listener;
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    LONG status = -1;
    std::thread writer([&] {
        status = WriteEnvironmentValue("SYSTEM", kValue, "written");
        SetEvent(done);
    });
    const bool returned = WaitForSingleObject(done, 30000) == WAIT_OBJECT_0;
    SetEvent(release);
    writer.join();
    hung.join();
    EXPECT_TRUE(returned) << "the write waited for the hung window";
    EXPECT_EQ(ERROR_SUCCESS, status);
    EXPECT_EQ(1, listener.Count()) << "the other windows still hear of the change";
    CloseHandle(done);
    CloseHandle(created);
    CloseHandle(release);
}

}  // namespace
