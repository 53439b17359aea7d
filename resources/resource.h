#pragma once

// Resource ids shared by the code and PebboPlay.rc.

// Icon
#define IDI_PEBBO 101

// Menu and accelerator table
#define IDR_MAINMENU 102
#define IDR_ACCELERATORS 2

// Dialogs
#define IDD_MAIN 101
#define IDD_ABOUT 105
#define IDD_PREFERENCES 130
#define IDD_RESULTS 140

// Strings
#define IDS_CLASSNAME 2

// Main dialog controls (1000 and 1003 are commands of the accelerator table too)
#define IDC_FIRSTTURN 1000
#define IDC_COMPUTER 1001
#define IDC_YOU 1002
#define IDC_NEWGAME 1003
#define IDC_POSCAPTION 1013
#define IDC_POSVALUE 1014
#define IDC_SECSCAPTION 1015
#define IDC_SECSVALUE 1016
#define IDC_PPSCAPTION 1017
#define IDC_PPSVALUE 1018
#define IDC_PIT1 1020
#define IDC_PIT2 1021
#define IDC_PIT3 1022
#define IDC_PIT4 1023
#define IDC_PIT5 1024
#define IDC_PIT6 1025

// Controls without an id of their own
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Preferences controls
#define IDC_LEVEL 1006
#define IDC_MOVES 1010
#define IDC_BESTMOVES 1011
#define IDC_SOUNDS 1012
#define IDC_SHOWTECH 1019

// Results controls: a row per level, its four figures at IDC_RESULTS + 4 * level
#define IDC_RESET 1030
#define IDC_RESULTS 1040

// Commands: the digit keys play the user's pits 0 to 5
#define IDM_PIT1 32771
#define IDM_PIT2 32772
#define IDM_PIT3 32773
#define IDM_PIT4 32774
#define IDM_PIT5 32775
#define IDM_PIT6 32776
#define IDM_EXIT 40001
#define IDM_ABOUT 40003
#define IDM_SETTINGS 40004
#define IDM_TAKEBACK 40005
#define IDM_HINT 40006
#define IDM_RESULTS 40007
