#pragma once
// Which windows get a skin object, decided from the class name and creation facts alone.
#include <windows.h>

#include <string>

namespace skin {

// Class-table key: the name upper-cased (table lookups ignore case).
std::string ClassTableKey(const std::string& className);

// Windows that are never skinned, whatever the table says (tool tips, input-method and shell
// helper windows).
bool IsFilteredClass(const std::string& className);

// Browser and OLE helper windows of classes the table does not know stay unskinned.
bool IsUnknownClassLeftAlone(const std::string& className);

bool IsWindowsFormsClass(const std::string& className);
// The control class a Windows Forms class name carries between its first and second dot
// ("WindowsForms10.BUTTON.app.0.1" gives "BUTTON"); empty when there is none.
std::string WindowsFormsInnerClass(const std::string& className);

// What decides a dialog's texture mode when it is created.
struct DialogTextureFacts {
    bool hasCreateStruct = false;
    bool hasParent = false;
    DWORD style = 0;
    int parentMode = 0;              // the parent's skin object's mode, 0 without one
    bool parentHasTabControl = false;  // PSM_GETTABCONTROL gave a window
    bool recordNamesParent = false;  // the parent's dialog data is a property-sheet record of the parent
    DWORD sheetFlags = 0;            // that record's PROPSHEETHEADER flags
};
// 6 (ETDT_ENABLETAB) for a page inside a property sheet that is not a wizard, else 2 (ETDT_ENABLE).
int DialogTextureMode(const DialogTextureFacts& facts);

// Reads the property-sheet record a dialog keeps in its dialog data, when the pointer there
// names readable memory laid out as one: the sheet's window, then its PROPSHEETHEADER.
bool ReadPropertySheetRecord(HWND sheet, bool* namesSheet, DWORD* flags);

}  // namespace skin
