// Resource ids of the module: strings, dialogs, controls and icons.
#pragma once

// Strings
#define IDS_HELP_FILE        200   // help file opened by every Help button
#define IDS_CAPTION          2009  // caption of the module's message boxes
#define IDS_PAPER_NAME       2017  // the card form's name
#define IDS_BIN_NAME         2018  // the card feeder's name
#define IDS_SYSTEM_ERROR     2019  // allocation or printer-information failure of a sheet
#define IDS_RIBBON_CHANGED       2300  // the printer reports another ribbon
#define IDS_RIBBON_CHANGED_MONO  2301  // ... a monochrome one, whose kind the user chooses
#define IDS_NO_RIBBON            2302  // no ribbon, or the printer does not answer

// Texts of the property sheets
#define IDS_MODEL_FIRMWARE       2000
#define IDS_ENCODER_SETTINGS     2003
#define IDS_TOOLS                2004
#define IDS_ORIENTATION          2005
#define IDS_ROTATION             2006
#define IDS_COLOR_ADJUSTMENT     2007
#define IDS_PAPER_OUTPUT         2020
#define IDS_PORTRAIT             2021
#define IDS_LANDSCAPE            2022
#define IDS_ROTATE_NONE          2023
#define IDS_ROTATE_FRONT         2024
#define IDS_RIBBON_TYPE          2026
#define IDS_YES                  2027
#define IDS_NO                   2028
#define IDS_RIBBON_DETAILS       2030
#define IDS_HALFTONE_REGULAR     2032
#define IDS_DIFFUSION            2034
#define IDS_MONO_CONVERSION      2036
#define IDS_PANEL_NOT_USED       2037
#define IDS_PANEL_ALWAYS         2038
#define IDS_PANEL_TEXT_ONLY      2039
#define IDS_PANEL_EXCEPT_PICTURE 2040
#define IDS_BLACK_PANEL          2041
#define IDS_OFF                  2042
#define IDS_ON                   2043
#define IDS_BLACK_BITMAP         2044
#define IDS_FRONT_OVERLAY        2045
#define IDS_HOLOGRAM_VARNISH     2046
#define IDS_HEAD_SETTINGS        2047
#define IDS_ENCODE_ONLY          2048
#define IDS_BOTH_SIDES           2052
#define IDS_FRONT_AND_BACK       2053
#define IDS_BACK_OVERLAY         2054
#define IDS_KIND_K_RESIN         2056
#define IDS_KIND_SCRATCH_OFF     2057
#define IDS_KIND_CLEAR_VARNISH   2058
#define IDS_ABOUT                2069
#define IDS_FW_DOWNLOAD          2078
#define IDS_ROTATE_BACK          2090
#define IDS_ROTATE_BOTH          2091
#define IDS_PRINT                2092
#define IDS_PRINTING_MODE        2095
#define IDS_SINGLE_FEED          2134
#define IDS_COPIES               2135
#define IDS_DEVICE_INFORMATION   2137
#define IDS_LOGO_FILE            2139  // the About box's logo, in the driver's directory
#define IDS_BARCODE              2310
#define IDS_OFFLINE_RIBBON_FIRST 2311  // the ten entries of the offline ribbon list, 2311..2320

// Texts of the encoder dialogs
#define IDS_TRACK_MODE_FIRST     1631  // the eight track modes "ISO1" .. "7 bit", 1631..1638
#define IDS_DENSITY_FIRST        1640  // "75 bpi", "210 bpi"
#define IDS_INVALID_TRACK_CHARACTER 2070  // a track character outside the track's set
#define IDS_TOO_MANY_TRACK_CHARACTERS 2071  // more characters than the track holds

// Dialogs
#define IDD_ABOUT                102
#define IDD_HEAD_SETTINGS        107
#define IDD_FRONT_OVERLAY        108
#define IDD_COLOR_CORRECTION     109
#define IDD_HOLOGRAM             110
#define IDD_TOOLS                112
#define IDD_DEVICE_INFORMATION   113
#define IDD_FIRMWARE_DOWNLOAD    116
#define IDD_BACK_OVERLAY         117
#define IDD_ENCODER_SETTINGS     104
#define IDD_ADVANCED_TRACKS      105
#define IDD_SINGLE_FEED          122

// Controls of the About box
#define IDC_ABOUT_VERSION        2068  // "Version " followed by the version

// Controls of the encoder settings dialog
#define IDC_ENCODER_MACRO        1600  // "Enable macro processing"
#define IDC_ENCODER_START_DATA   1601  // start-of-data delimiter
#define IDC_ENCODER_END_DATA     1602  // end-of-data delimiter
#define IDC_ENCODER_ADVANCED     1603  // "Advanced settings"
#define IDC_RESTORE_DEFAULTS     1604  // "Restore Defaults", in both encoder dialogs
#define IDC_ENCODER_CANCEL       1605  // "Cancel"
#define IDC_COERCIVITY_HIGH      1620  // 1620..1622: High, Low, No Change
#define IDC_COERCIVITY_NO_CHANGE 1622
#define IDC_POSITION_REVERSED    1623  // 1623..1624: Reversed, Normal
#define IDC_POSITION_NORMAL      1624
#define IDC_TYPE_ISO_JIS         1625  // 1625..1627: ISO/JIS, JIS2, AAMVA
#define IDC_TYPE_AAMVA           1627
#define IDC_ENCODER_APPLY        1655

// Controls of the advanced track settings dialog
#define IDC_TRACK_1              1628  // 1628..1630: Track 1, 2, 3
#define IDC_TRACK_2              1629
#define IDC_TRACK_3              1630
#define IDC_TRACK_MODE           1631
#define IDC_TRACK_DENSITY        1640
#define IDC_START_CHAR           1645
#define IDC_STOP_CHAR            1646
#define IDC_START_POSITION       1647
#define IDC_CHAR_PARITY_NONE     1648  // 1648..1650: none, even, odd
#define IDC_CHAR_PARITY_ODD      1650
#define IDC_LRC_PARITY_NONE      1651  // 1651..1653: none, even, odd
#define IDC_LRC_PARITY_ODD       1653
#define IDC_TRACKS_APPLY         1654
#define IDC_START_STOP_GROUP     1660  // the free-format controls are 1660..1667 and 1645..1653
#define IDC_START_CHAR_LABEL     1661
#define IDC_STOP_CHAR_LABEL      1662
#define IDC_START_POSITION_GROUP 1663
#define IDC_START_POSITION_LABEL 1664
#define IDC_START_POSITION_UNIT  1665
#define IDC_CHAR_PARITY_GROUP    1666
#define IDC_LRC_PARITY_GROUP     1667

// Track data edits of the Tools dialog, checked as they are typed
#define IDC_TRACK_DATA_1         1959  // 1959..1961: tracks 1, 2, 3
#define IDC_TRACK_DATA_3         1961

// Controls of the single feed dialog
#define IDC_SINGLE_FEED_OFF      1004
#define IDC_SINGLE_FEED_ON       1005

// Icons
#define IDI_PRINTER              1002

// Controls shared by the dialogs
#define IDC_HELP_BUTTON      1006  // Help
#define IDC_CLOSE_BUTTON     1605  // Close, in the dialogs that have a Help button
