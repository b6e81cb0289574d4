#pragma once
// Resource ids shared by the resource script and the code.
#define IDD_MAIN_DIALOG        102
#define IDI_MAINFRAME          128
#define IDB_BANNER             129
#define IDB_MAIL               130
#define IDB_BROWSE_PRESSED     131
#define IDB_BROWSE_HOVER       132
#define IDB_BROWSE_NORMAL      133
#define IDC_BANNER             1000
#define IDC_LINK_MAIL          1001
#define IDC_LINK_CONTACT       1002
#define IDC_JAVA_HOME          1003
#define IDC_BROWSE             1004
#define IDC_CLASSPATH          1005
#define IDC_AUTO_CLASSPATH     1006
#define IDC_PATH               1007
#define IDC_DETECT_JDK         1008
#define IDS_SELECT_DIRECTORY   9342
#define IDC_HAND_CURSOR        9973
