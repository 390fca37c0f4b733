/* Identifiers of the program's resources and commands, shared by the resource script and the code. */
#pragma once

#define IDI_APP 1
#define IDI_CLARIS32 2
#define IDI_CLARIS16 3
#define IDB_TOOLBAR 10
#define IDB_ABOUT 11
#define IDB_TOOLBAR24 12
#define IDB_TOOLBAR32 13
#define IDR_MAINMENU 20
#define IDR_POPUPMENU 21
#define IDR_ACCELERATORS 22

/* Menu bar */
#define IDM_FILE_NEW 1001
#define IDM_FILE_PROPERTY 1002
#define IDM_FILE_CLOSE 1003
#define IDM_EDIT_DELETE 1101
#define IDM_EDIT_PASTE 1102
#define IDM_EDIT_ALLSELECT 1103
#define IDM_EDIT_CHANGE 1104
#define IDM_VIEW_CHANGEVIEW0 1200 /* ... 1203 */
#define IDM_VIEW_SORTORDER0 1210  /* ... 1213 */
#define IDM_PRINT_ALLPRINT 1301
#define IDM_PRINT_SELECTEDPRINT 1302
#define IDM_DEBUG_LOGGINGLEVEL0 1400 /* ... 1401 */
#define IDM_DEBUG_SENDMAIL 1410
#define IDM_HELP_INFO 1501

/* The list's pop-up menu */
#define IDM_POPUP_VIEW0 1600 /* ... 1603 */
#define IDM_POPUP_SORT0 1610 /* ... 1613 */
#define IDM_POPUP_DELETE 1620
#define IDM_POPUP_PASTE 1621
#define IDM_POPUP_SELECTEDPRINT 1622
#define IDM_POPUP_PROPERTY 1623

/* Toolbar buttons, routed by their keys */
#define IDT_NEW 1701
#define IDT_PROPERTY 1702
#define IDT_PRINT 1703
#define IDT_DELETE 1704
#define IDT_PASTE 1705
#define IDT_VW_LARGE 1706
#define IDT_VW_SMALL 1707
#define IDT_VW_LIST 1708
#define IDT_VW_DETAIL 1709
#define IDT_MAIL 1710
#define IDT_INET 1711
#define IDT_INFO 1712

/* Strings */
#define IDS_SUPPORT_MAIL 2001
#define IDS_WEB_ADDRESS 2002
#define IDS_TIP_NEW 2101
#define IDS_TIP_PROPERTY 2102
#define IDS_TIP_PRINT 2103
#define IDS_TIP_DELETE 2104
#define IDS_TIP_PASTE 2105
#define IDS_TIP_VW_LARGE 2106
#define IDS_TIP_VW_SMALL 2107
#define IDS_TIP_VW_LIST 2108
#define IDS_TIP_VW_DETAIL 2109
#define IDS_TIP_MAIL 2110
#define IDS_TIP_INET 2111
#define IDS_TIP_INFO 2112
