#pragma once
// Resource and menu command ids of the gallery (shared by its resource script and code).

#define IDI_GALLERY 100
#define IDB_GALLERY_BUTTON 101
#define IDR_MAIN_MENU 102
#define IDR_MDI_MENU 103
#define IDR_SPLIT_MENU 104
#define IDD_PAGE_GENERAL 110
#define IDD_PAGE_OPTIONS 111

#define IDC_PAGE_NAME 2001
#define IDC_PAGE_CHECK 2002
#define IDC_PAGE_RADIO_A 2003
#define IDC_PAGE_RADIO_B 2004
#define IDC_PAGE_COMBO 2005

#define IDM_EXIT 40001
#define IDM_MDI_FRAME 40002
#define IDM_PROPERTY_SHEET 40003
#define IDM_WIZARD 40004
#define IDM_MDI_NEW 40010
#define IDM_MDI_CASCADE 40011
#define IDM_MDI_TILE 40012
#define IDM_MDI_CLOSE 40013
#define IDM_SPLIT_FIRST 40020
#define IDM_SPLIT_SECOND 40021
#define IDM_MDI_FIRSTCHILD 41000
