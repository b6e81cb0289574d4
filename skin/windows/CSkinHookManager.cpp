#include "CSkinHookManager.h"

#include <commctrl.h>
#include <prsht.h>
#include <uxtheme.h>

#include <vector>

#include "CSkinObjectApplicationFrame.h"
#include "CSkinObjectButton.h"
#include "CSkinObjectClassInfo.h"
#include "CSkinObjectComboBox.h"
#include "CSkinObjectDateTime.h"
#include "CSkinObjectEdit.h"
#include "CSkinObjectHeader.h"
#include "CSkinObjectListBox.h"
#include "CSkinObjectListView.h"
#include "CSkinObjectMDIClient.h"
#include "CSkinObjectMonthCal.h"
#include "CSkinObjectProgress.h"
#include "CSkinObjectScrollBar.h"
#include "CSkinObjectSpin.h"
#include "CSkinObjectStatusBar.h"
#include "CSkinObjectTab.h"
#include "CSkinObjectToolBar.h"
#include "CSkinObjectTrackBar.h"
#include "CSkinObjectTreeView.h"
#include "CSkinThreadHook.h"
#include "SkinClassFilter.h"

CSkinHookManager* CSkinHookManager::Instance() {
    static CSkinHookManager manager;
    manager.InstallThreadHook();
    return &manager;
}

CSkinHookManager::CSkinHookManager() : m_engine(CSkinEngine::Instance()) {
    BuildClassTable();
    m_engine->SetWindowFactory(this);
}

CSkinHookManager::~CSkinHookManager() {
    if (m_engine->GetWindowFactory() == this) m_engine->SetWindowFactory(nullptr);
    AcquireSRWLockExclusive(&m_tableLock);
    for (auto& entry : m_classTable) entry.second->InternalRelease();
    m_classTable.clear();
    ReleaseSRWLockExclusive(&m_tableLock);
}

void CSkinHookManager::BuildClassTable() {
    const struct {
        const char* name;
        const CRuntimeClass* objectClass;
    } entries[] = {
        {"Button", RUNTIME_CLASS(CSkinObjectButton)},
        {"ComboBox", RUNTIME_CLASS(CSkinObjectComboBox)},
        {"Edit", RUNTIME_CLASS(CSkinObjectEdit)},
        {"ListBox", RUNTIME_CLASS(CSkinObjectListBox)},
        {"SysDateTimePick32", RUNTIME_CLASS(CSkinObjectDateTime)},
        {"SysMonthCal32", RUNTIME_CLASS(CSkinObjectMonthCal)},
        {"ScrollBar", RUNTIME_CLASS(CSkinObjectScrollBar)},
        {"SysListView32", RUNTIME_CLASS(CSkinObjectListView)},
        {"SysHeader32", RUNTIME_CLASS(CSkinObjectHeader)},
        {"msctls_statusbar32", RUNTIME_CLASS(CSkinObjectStatusBar)},
        {"SysTreeView32", RUNTIME_CLASS(CSkinObjectTreeView)},
        {"msctls_progress32", RUNTIME_CLASS(CSkinObjectProgress)},
        {"msctls_trackbar32", RUNTIME_CLASS(CSkinObjectTrackBar)},
        {"SysTabControl32", RUNTIME_CLASS(CSkinObjectTab)},
        {"MDIClient", RUNTIME_CLASS(CSkinObjectMDIClient)},
        {"msctls_updown32", RUNTIME_CLASS(CSkinObjectSpin)},
        {"ToolbarWindow32", RUNTIME_CLASS(CSkinObjectToolBar)},
    };
    for (const auto& e : entries) AddWindowClass(e.name, new CSkinObjectClassInfo(e.objectClass));

    const struct {
        const char* alias;
        const char* target;
    } aliases[] = {
        {"SysIPAddress32", "Edit"},   {"msctls_hotkey32", "Edit"},
        {"ComboLBox", "ListBox"},     {"ATL:ScrollBar", "ScrollBar"},
        {"TButton", "Button"},        {"TEdit", "Edit"},
        {"TMemo", "Edit"},            {"TNewProgressBar", "msctls_progress32"},
        {"TRichEditViewer", "Edit"},  {"TRadioButton", "Button"},
        {"TCheckBox", "Button"},      {"TComboBox", "ComboBox"},
        {"TGroupBox", "Button"},      {"TScrollBar", "ScrollBar"},
        {"TProgressBar", "msctls_progress32"}, {"TTrackBar", "msctls_trackbar32"},
        {"TTabControl", "SysTabControl32"},    {"TTreeView", "SysTreeView32"},
        {"TListView", "SysListView32"},        {"TListBox", "ListBox"},
        // Never skinned: the system's popup menus, the skin's own menus, pagers.
        {"#32768", nullptr},          {"SkinManagerMenu", nullptr},
        {"SysPager", nullptr},
    };
    for (const auto& a : aliases) AddWindowClassAlias(a.alias, a.target);
}

void CSkinHookManager::AddWindowClass(LPCSTR className, CSkinObjectClassInfo* entry) {
    if (!className || !entry) return;
    const std::string key = skin::ClassTableKey(className);
    CSkinObjectClassInfo* replaced = nullptr;
    AcquireSRWLockExclusive(&m_tableLock);
    if (entry->GetOwner())
        entry->InternalAddRef();
    else
        entry->SetOwner(this);
    CSkinObjectClassInfo*& slot = m_classTable[key];
    replaced = slot;
    slot = entry;
    ReleaseSRWLockExclusive(&m_tableLock);
    if (replaced) replaced->InternalRelease();
}

void CSkinHookManager::AddWindowClassAlias(LPCSTR alias, LPCSTR targetClassName) {
    if (!alias) return;
    const std::string key = skin::ClassTableKey(alias);
    AcquireSRWLockShared(&m_tableLock);
    const bool exists = m_classTable.count(key) != 0;
    ReleaseSRWLockShared(&m_tableLock);
    if (exists) return;
    if (!targetClassName || !*targetClassName) {
        AddWindowClass(alias, new CSkinObjectClassInfo(nullptr));
        return;
    }
    if (CSkinObjectClassInfo* target = FindWindowClass(targetClassName)) AddWindowClass(alias, target);
}

CSkinObjectClassInfo* CSkinHookManager::FindWindowClass(LPCSTR className) {
    if (!className) return nullptr;
    const std::string key = skin::ClassTableKey(className);
    AcquireSRWLockShared(&m_tableLock);
    auto it = m_classTable.find(key);
    CSkinObjectClassInfo* entry = it == m_classTable.end() ? nullptr : it->second;
    ReleaseSRWLockShared(&m_tableLock);
    return entry;
}

void CSkinHookManager::InstallThreadHook() { CSkinThreadHook::Current().Install(&CSkinHookManager::CbtHookProc); }

LRESULT CALLBACK CSkinHookManager::CbtHookProc(int code, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallNextHookEx(CSkinThreadHook::Current().Handle(), code, wParam, lParam);
    // A creation another hook refused never becomes a window: nothing to attach.
    if (code != HCBT_CREATEWND || result != 0) return result;
    CSkinEngine* engine = CSkinEngine::Instance();
    if (!engine->attachNewWindows) return result;
    const HWND hWnd = reinterpret_cast<HWND>(wParam);
    LPCREATESTRUCTA createStruct = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
    char className[50] = "";
    GetClassNameA(hWnd, className, sizeof(className));
    if (!engine->FindSkinObject(hWnd)) engine->AttachWindow(hWnd, className, createStruct, TRUE);
    return result;
}

CSkinObjectBase* CSkinHookManager::CreateFor(HWND hWnd, const std::string& className, LPCREATESTRUCTA createStruct) {
    if (skin::IsFilteredClass(className)) return nullptr;
    if (skin::IsWindowsFormsClass(className)) {
        CSkinObjectBase* object = nullptr;
        const std::string inner = skin::WindowsFormsInnerClass(className);
        if (!inner.empty())
            if (CSkinObjectClassInfo* entry = FindWindowClass(inner.c_str()))
                object = entry->CreateSkinObject(className.c_str(), createStruct);
        if (!object) object = new CSkinObjectApplicationFrame();
        object->SetWindowsForms(TRUE);
        return object;
    }
    if (CSkinObjectClassInfo* entry = FindWindowClass(className.c_str()))
        return entry->CreateSkinObject(className.c_str(), createStruct);
    if (skin::IsUnknownClassLeftAlone(className)) return nullptr;
    return new CSkinObjectApplicationFrame();
}

CSkinWindowSink* CSkinHookManager::AttachWindow(HWND hWnd, LPCSTR className, LPCREATESTRUCTA createStruct,
                                                BOOL autoAttached) {
    if (!hWnd || !className) return nullptr;
    const std::string name = className;
    CSkinObjectBase* object = CreateFor(hWnd, name, createStruct);
    if (!object) return nullptr;

    if (name == "#32770") {
        skin::DialogTextureFacts facts;
        facts.hasCreateStruct = createStruct != nullptr;
        const HWND parent = createStruct ? createStruct->hwndParent : nullptr;
        facts.hasParent = parent != nullptr;
        facts.style = createStruct ? static_cast<DWORD>(createStruct->style) : 0;
        if (facts.hasCreateStruct && facts.hasParent && (facts.style & DS_CONTROL) && (facts.style & WS_CHILD)) {
            if (CSkinRef<CSkinWindowSink> parentSink = m_engine->FindSkinObjectRef(parent))
                if (auto* parentFrame = dynamic_cast<CSkinObjectFrame*>(parentSink.Get()))
                    facts.parentMode = parentFrame->GetDialogTextureMode();
            if (facts.parentMode != ETDT_ENABLETAB) {
                const HWND tab = reinterpret_cast<HWND>(SendMessageA(parent, PSM_GETTABCONTROL, 0, 0));
                facts.parentHasTabControl = tab && IsWindow(tab);
                if (facts.parentHasTabControl) skin::ReadPropertySheetRecord(parent, &facts.recordNamesParent, &facts.sheetFlags);
            }
        }
        if (auto* frame = dynamic_cast<CSkinObjectFrame*>(object)) frame->SetDialogTextureMode(skin::DialogTextureMode(facts));
    }

    object->SetEngine(m_engine);
    // The map takes the object's first reference; the object stays alive through attaching
    // even if the window is destroyed meanwhile.
    object->AddRef();
    m_engine->AddSkinObject(hWnd, object);
    object->AttachHook(hWnd, createStruct, autoAttached);
    object->Release();
    return object;
}
