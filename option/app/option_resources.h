#pragma once
// Resource ids of Brenik Option.exe: its dialogs, their controls and its string table
// (option.rc). Each page's controls have a block of their own, so a page slots in with its
// own numbers.

// ---- Dialogs.
#define IDD_MAIN 100
#define IDD_PAGE_PROFILES 101
#define IDD_PAGE_LIGHTING 102
#define IDD_PAGE_SWITCHES 103
#define IDD_PAGE_DISPLAY 104
#define IDD_GAME_PICKER 105
#define IDI_PRODUCT 1

// ---- The main window.
#define IDC_MONITOR_BAR 1001
#define IDC_START_MONITOR 1002
#define IDC_PROFILE_LABEL 1003
#define IDC_PROFILE 1004
#define IDC_TABS 1005
#define IDC_STATUS 1006
#define IDC_RESTORE 1007
#define IDC_APPLY 1008

// ---- Profiles page: a column per profile, ids kProfileColumnBase + profile * kProfileColumnStride + the offset.
#define IDC_PROFILE_COLUMN_BASE 1100
#define IDC_PROFILE_COLUMN_STRIDE 20
#define IDC_COL_GROUP 0
#define IDC_COL_PICTURE 1
#define IDC_COL_NAME_LABEL 2
#define IDC_COL_NAME 3
#define IDC_COL_PICTURE_BUTTON 4
#define IDC_COL_GAME_LABEL 5
#define IDC_COL_GAME 6
#define IDC_COL_GAME_BUTTON 7
#define IDC_COL_CURRENT 8
#define IDC_COL_MAKE_CURRENT 9
#define IDC_CONFLICTS 1200
#define IDC_COPY_SECTION_LABEL 1201
#define IDC_COPY_SECTION 1202
#define IDC_COPY_FROM_LABEL 1203
#define IDC_COPY_FROM 1204
#define IDC_COPY_TO_LABEL 1205
#define IDC_COPY_TO 1206
#define IDC_COPY 1207

// ---- Lighting page.
#define IDC_KEY_COLOUR_LABEL 1300
#define IDC_KEY_SWATCH 1301
#define IDC_KEY_CHOOSE 1302
#define IDC_KEY_HEX 1303
#define IDC_LOGO_COLOUR_LABEL 1304
#define IDC_LOGO_SWATCH 1305
#define IDC_LOGO_CHOOSE 1306
#define IDC_LOGO_HEX 1307
// A number: label, edit, up-down, range; four ids each from its base.
#define IDC_LIGHT_EFFECT 1310
#define IDC_EXTENDED_EFFECT 1314
#define IDC_LIGHT_CONTROL 1318
#define IDC_LIGHT_SAVING 1322
#define IDC_LIGHT_TIMEOUT 1326
#define IDC_COLOUR_FLOW 1330
#define IDC_LOGO_OPTION 1334
#define IDC_LOGO_CONTROL 1338
#define IDC_LOGO_FLOW 1342
#define IDC_LOGO_SPEED 1346
#define IDC_KEY_LIGHT_TYPE_LABEL 1350
#define IDC_KEY_LIGHT_TYPE 1351
#define IDC_NUMBER_LABEL 0
#define IDC_NUMBER_EDIT 1
#define IDC_NUMBER_SPIN 2
#define IDC_NUMBER_RANGE 3

// ---- Switches page.
#define IDC_LOCK_LEFT_WIN 1401
#define IDC_LOCK_RIGHT_WIN 1402
#define IDC_LOCK_APP 1403
#define IDC_LOCK_CAPS 1404
#define IDC_LOCK_TAB 1405
#define IDC_LOCK_LEFT_SHIFT 1406
#define IDC_SOUND_PROFILE 1411
#define IDC_SOUND_MACRO 1412
#define IDC_SOUND_LAYER 1413
#define IDC_SOUND_COUNTDOWN 1414
#define IDC_PLAY_PROFILE 1421
#define IDC_PLAY_MACRO 1422
#define IDC_PLAY_LAYER 1423
#define IDC_PLAY_COUNTDOWN 1424
#define IDC_REPEAT_DELAY_LABEL 1430
#define IDC_REPEAT_DELAY 1431
#define IDC_REPEAT_SPEED_LABEL 1432
#define IDC_REPEAT_SPEED 1433
#define IDC_MEDIA_LABEL 1434
#define IDC_MEDIA 1435
#define IDC_KEY_ASSIGNMENTS 1436

// ---- Display page.
#define IDC_NOTICE_PROFILE 1501
#define IDC_NOTICE_MACRO 1502
#define IDC_NOTICE_LOCK_KEY 1503
#define IDC_NOTICE_VOLUME 1504
#define IDC_GAUGE_CPU 1505
#define IDC_GAUGE_RAM 1506
#define IDC_CALL_DISPLAY 1507
#define IDC_NOTICE_TIME 1510
#define IDC_NOTICE_DISTANCE 1514
#define IDC_DISPLAY_PROBLEM 1520

// ---- Game picker.
#define IDC_PROGRAMS_LABEL 1600
#define IDC_PROGRAMS 1601
#define IDC_BROWSE 1602
#define IDC_NO_GAME 1603

// ---- Strings.
#define IDS_TITLE 1
#define IDS_PAGE_PROFILES 10
#define IDS_PAGE_LIGHTING 11
#define IDS_PAGE_SWITCHES 12
#define IDS_PAGE_DISPLAY 13
#define IDS_PROFILE_ITEM 20          // "%d  %s"
#define IDS_CURRENT 21
#define IDS_NOT_CURRENT 22
#define IDS_NO_GAME 23
#define IDS_NO_PICTURE 24
#define IDS_CONFLICT 25              // "%s: profiles %s name it; profile %d wins, the monitor takes the lower"
#define IDS_NO_CONFLICT 26
#define IDS_SECTION_ALL 30           // then one per Section, in its order
#define IDS_SECTION_LIGHTING 31
#define IDS_SECTION_KEY_LOCKS 32
#define IDS_SECTION_SOUNDS 33
#define IDS_SECTION_REPEAT 34
#define IDS_SECTION_MEDIA 35
#define IDS_SECTION_KEYS 36
#define IDS_MEDIA_WMP 40
#define IDS_MEDIA_ITUNES 41
#define IDS_MEDIA_VLC 42
#define IDS_MEDIA_WINAMP 43
#define IDS_LIGHT_TYPE_ALL 50
#define IDS_LIGHT_TYPE_1 51
#define IDS_LIGHT_TYPE_2 52
#define IDS_LIGHT_TYPE_3 53
#define IDS_LIGHT_TYPE_NONE 54
#define IDS_UNKNOWN_VALUE 59          // "%d (not a known setting)"
#define IDS_RANGE 60                  // "%d to %d"
#define IDS_STATUS_READY 100
#define IDS_STATUS_NOTHING 101
#define IDS_STATUS_SENDING 102
#define IDS_STATUS_SAVED 103
#define IDS_STATUS_NOT_CONNECTED 104
#define IDS_STATUS_NOT_ALL_HELD 105
#define IDS_STATUS_NO_ANSWER 106
#define IDS_STATUS_NO_MONITOR 107
#define IDS_STATUS_NO_BLOCK 108
#define IDS_STATUS_NOT_ANNOUNCED 109
#define IDS_STATUS_SAVE_FAILED 110
#define IDS_STATUS_REFUSED 111        // "%s: %s"
#define IDS_STATUS_KEYBOARD_CHANGED 112
#define IDS_STATUS_LOADED 113
#define IDS_STATUS_RESTORING 114
#define IDS_STATUS_FIX_FIRST 115      // "Fix the marked value first: %s"
#define IDS_STATUS_STARTING_MONITOR 116
#define IDS_STATUS_DISPLAY_DAMAGED 117
#define IDS_MONITOR_BAR 120
#define IDS_CONFIRM_RESTORE 130
#define IDS_CONFIRM_DISCARD 131
#define IDS_CONFIRM_COPY 132          // "Copy %s of profile %d onto profile %d?"
#define IDS_NOT_IN_CODE_PAGE 140      // "\"%s\" cannot be stored: the system's code page (%u) has no such character"
#define IDS_NOT_HEX_COLOUR 141
#define IDS_PICTURE_FILTER 150
#define IDS_PROGRAM_FILTER 151
#define IDS_COLUMN_PROGRAM 152
#define IDS_COLUMN_PATH 153
#define IDS_PICTURE_UNREADABLE 154
