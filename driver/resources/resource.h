// Resource ids of the module: strings, dialogs, controls and icons.
#pragma once

// Strings
#define IDS_CAPTION          2009  // caption of the module's message boxes
#define IDS_BIN_NAME         2018  // the card feeder's name
#define IDS_SYSTEM_ERROR     2019  // allocation or printer-information failure of a sheet
#define IDS_JOB_NOT_SENT     2324  // a command job whose write failed or fell short was aborted
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
#define IDS_BARCODE              2310
#define IDS_OFFLINE_RIBBON_FIRST 2311  // the ten entries of the offline ribbon list, 2311..2320
#define IDS_DEFAULT_MODEL        2346  // the model text shown until the printer answers
#define IDS_RIBBON_NAME_FIRST    2350  // the names of ribbon codes 0..14, then "None": 2350..2365
#define IDS_PRINT_MODE_FIRST     2370  // the print-mode texts, "None" first: 2370..2401

// Texts of the encoder dialogs
#define IDS_TRACK_MODE_FIRST     1631  // the eight track modes "ISO1" .. "7 bit", 1631..1638
#define IDS_DENSITY_FIRST        1640  // "75 bpi", "210 bpi"
#define IDS_INVALID_TRACK_CHARACTER 2070  // a track character outside the track's set
#define IDS_TOO_MANY_TRACK_CHARACTERS 2071  // more characters than the track holds

// Texts of the Tools dialog
#define IDS_TEST_CARD_PRINTER    2059  // test card lists: "Printer Parameters"
#define IDS_TEST_CARD_ENCODER    2060  // "Encoder Parameters"
#define IDS_CHANGE_OFFSETS       2063  // Set Offset asks before changing the printer's offsets
#define IDS_TEST_CARD_STANDARD   2066  // "Standard"
#define IDS_CLEANING_READY       2065  // Clean asks for the printer to be made ready
#define IDS_CARD_IN_FEEDER       2067  // Encode and Read ask for a card in the feeder
#define IDS_OFFSET_LIMIT         2072  // an offset edit above the highest offset
#define IDS_CLEAN_PRINTER        2075  // cleaning list: "Printer only"
#define IDS_CLEAN_ENCODER        2076  // "Magnetic encoder"
#define IDS_NO_DATA_TO_ENCODE    2077
#define IDS_NO_RESPONSE          2330  // the status field when the printer gives no reply
#define IDS_ACK_MARK             2331  // stands for the ACK that ends a reply in the status field

// Texts of the Send File dialog
#define IDS_FILE_SENT            2140
#define IDS_FILE_NOT_SENT        2141
#define IDS_SENDING_FILE         2142
#define IDS_FILE_CHOSEN          2146  // the status line once a file was chosen (or the choice cancelled)
#define IDS_SEND_FILE_FILTER     2321  // the open-file filter: display text '|' pattern '|'
#define IDS_PATH_UNUSABLE        2347  // a chosen or typed path the ANSI code page cannot hold exactly (also firmware)

// Texts for a user who may not administer the printer
#define IDS_ADMIN_CHANGES        2348  // the line of a settings dialog shown read-only
#define IDS_ADMIN_OFFSETS        2349  // Tools' status line: Set Offset is not offered
#define IDS_NOT_DIRECT           2325  // Tools' status line: the printer could not be switched to direct printing

// Stores into the printer's default settings that cannot be made or failed
#define IDS_STORE_IMPOSSIBLE     2410  // an encoder dialog's Apply: the store cannot be made, nothing sent
#define IDS_NOT_STORED           2411  // the printer took encoder settings that could not be stored
#define IDS_STORE_FAILED         2412  // a change (the cleared third track) could not be stored
#define IDS_LEFT_DIRECT          2413  // the printer could not be switched back from direct printing

// Texts of the firmware download
#define IDS_FIRMWARE_SENT        2079
#define IDS_FIRMWARE_UPDATING    2080
#define IDS_FIRMWARE_SENDING     2081
#define IDS_FIRMWARE_FAILED      2086
#define IDS_FIRMWARE_OPEN_ERROR  2087
#define IDS_FIRMWARE_SIZE_ERROR  2088
#define IDS_FIRMWARE_READ_ERROR  2089
#define IDS_FIRMWARE_REFUSED     2099
#define IDS_FIRMWARE_RESETTING   2133
#define IDS_FIRMWARE_FILTER      2322  // the open-file filter: display text '|' pattern '|'
#define IDS_PRINTER_FIRMWARE     2340  // the type of a file the printer takes as its own firmware
#define IDS_LAMINATOR_FIRMWARE   2341  // ... and as the laminator's
#define IDS_HOLOGRAM_BATCH_STOPPED 2342  // a hologram card of several did not reach the printer: %u sent of %u
#define IDS_HOLOGRAM_TYPE_UNKNOWN  2343  // the stored hologram type is none the printer can be sent
#define IDS_HELP_NOT_OPENED      2344  // Help found the manual's page but nothing opened it: %s is the page
#define IDS_HELP_MISSING         2345  // Help found neither a working help file nor the manual

// Texts of the Device Information dialog (and "Yes", "No": IDS_YES, IDS_NO)
#define IDS_UNKNOWN              2332  // a ribbon the printer or the catalogue does not name
#define IDS_NOT_AVAILABLE        2333  // no remaining count
#define IDS_SMART_CARD_FIRST     2334  // the six smart-card options, 2334..2339, in model-code order

// Texts of the overlay and hologram dialogs
#define IDS_OVERLAY_TYPE_FIRST   1231  // the eight overlay varnish types, 1231..1238
#define IDS_HOLOGRAM_TYPE_FIRST  1261  // the four hologram types, 1261..1264
#define IDS_NOT_MONOCHROME       2100  // a bitmap that is not 1 bit per pixel
#define IDS_INVALID_COUNT        2131  // hologram copies above the limit
#define IDS_INVALID_COORDINATES  2138  // a coordinate the area cannot take
#define IDS_BITMAP_FILTER        2323  // the open-file filter: display text '|' pattern '|'

// Dialogs
#define IDD_ABOUT                102
#define IDD_HEAD_SETTINGS        107
#define IDD_FRONT_OVERLAY        108
#define IDD_COLOR_CORRECTION     109
#define IDD_HOLOGRAM             110
#define IDD_HOLOGRAM_REGION      111
#define IDD_TOOLS                112
#define IDD_DEVICE_INFORMATION   113
#define IDD_FIRMWARE_DOWNLOAD    116
#define IDD_BACK_OVERLAY         117
#define IDD_ENCODER_SETTINGS     104
#define IDD_ADVANCED_TRACKS      105
#define IDD_SINGLE_FEED          122
#define IDD_SEND_FILE            2147

// Controls of the About box
#define IDC_ABOUT_VERSION        2068  // "Version " followed by the version

// Controls of the encoder settings dialog
#define IDC_ENCODER_MACRO        1600  // "Enable macro processing"
#define IDC_ENCODER_START_DATA   1601  // start-of-data delimiter
#define IDC_ENCODER_END_DATA     1602  // end-of-data delimiter
#define IDC_ENCODER_ADVANCED     1603  // "Advanced settings"
#define IDC_RESTORE_DEFAULTS     1604  // Restore defaults, in the encoder, advanced, head and colour dialogs
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

// Controls of the single feed dialog
#define IDC_SINGLE_FEED_OFF      1004
#define IDC_SINGLE_FEED_ON       1005

// Controls of the Tools dialog
#define IDC_TOOLS_EJECT_FEEDER   1016
#define IDC_TOOLS_SEND_FILE      1009
#define IDC_TOOLS_EXECUTE        1950
#define IDC_TOOLS_COMMAND        1951
#define IDC_TOOLS_EJECT_PRINTER  1952
#define IDC_TOOLS_PRINT          1953
#define IDC_TOOLS_CLEAN          1954
#define IDC_TOOLS_OFFSET_X       1956
#define IDC_TOOLS_OFFSET_Y       1957
#define IDC_TOOLS_SET_OFFSET     1958
#define IDC_TOOLS_TRACK1_DATA    1959  // 1960, 1961: tracks 2 and 3
#define IDC_TOOLS_TRACK2_DATA    1960
#define IDC_TOOLS_TRACK3_DATA    1961
#define IDC_TOOLS_TRACK1_BOX     1962  // 1963, 1964: tracks 2 and 3
#define IDC_TOOLS_TRACK2_BOX     1963
#define IDC_TOOLS_TRACK3_BOX     1964
#define IDC_TOOLS_ENCODE         1965
#define IDC_TOOLS_STATUS         1966
#define IDC_TOOLS_READ           1967
#define IDC_TOOLS_TEST_CARD      1968
#define IDC_TOOLS_CLEANING       1969

// The line a settings dialog shows to a user who may not change its settings
#define IDC_ADMIN_NOTICE         1970

// Controls of the Send File dialog
#define IDC_SEND_PATH            2140
#define IDC_SEND_PRN             2141
#define IDC_SEND_TEXT            2142
#define IDC_SEND_SELECT          2143
#define IDC_SEND_STATUS          2144
#define IDC_SEND_BUTTON          2145

// Controls of the firmware download
#define IDC_FW_START             1992
#define IDC_FW_PATH              1993
#define IDC_FW_SELECT            1994
#define IDC_FW_STATUS            1995
#define IDC_FW_TYPE              1996
#define IDC_FW_CHECK             1997

// Controls of the Device Information dialog
#define IDC_INFO_MODEL           1003
#define IDC_INFO_SERIAL          1004
#define IDC_INFO_ENCODER         1005
#define IDC_INFO_PANELS          1008
#define IDC_INFO_SMART_CARD      1218
#define IDC_INFO_RIBBON          1990
#define IDC_INFO_REMAINING       1991

// Icons
#define IDI_PRINTER              1002

// Controls of the head settings dialog: the eleven sliders in `headSettings` order, and
// the value shown beside each
#define IDC_HEAD_SLIDER_FIRST        1800
#define IDC_HEAD_OVERLAY             1800
#define IDC_HEAD_RESIN_BLACK         1801
#define IDC_HEAD_HOLOGRAM            1802
#define IDC_HEAD_YELLOW_INTENSITY    1803
#define IDC_HEAD_MAGENTA_INTENSITY   1804
#define IDC_HEAD_CYAN_INTENSITY      1805
#define IDC_HEAD_BLACK_INTENSITY     1806
#define IDC_HEAD_YELLOW_CONTRAST     1807
#define IDC_HEAD_MAGENTA_CONTRAST    1808
#define IDC_HEAD_CYAN_CONTRAST       1809
#define IDC_HEAD_BLACK_CONTRAST      1810
#define IDC_HEAD_VALUE_FIRST         1811
#define IDC_HEAD_OVERLAY_VALUE            1811
#define IDC_HEAD_RESIN_BLACK_VALUE        1812
#define IDC_HEAD_HOLOGRAM_VALUE           1813
#define IDC_HEAD_YELLOW_INTENSITY_VALUE   1814
#define IDC_HEAD_MAGENTA_INTENSITY_VALUE  1815
#define IDC_HEAD_CYAN_INTENSITY_VALUE     1816
#define IDC_HEAD_BLACK_INTENSITY_VALUE    1817
#define IDC_HEAD_YELLOW_CONTRAST_VALUE    1818
#define IDC_HEAD_MAGENTA_CONTRAST_VALUE   1819
#define IDC_HEAD_CYAN_CONTRAST_VALUE      1820
#define IDC_HEAD_BLACK_CONTRAST_VALUE     1821
// The name beside each slider, in the same order (1822..1832)
#define IDC_HEAD_NAME_FIRST          1822

// Controls of the colour correction dialog: the eight sliders in `colorAdjust` order,
// and the value shown beside each
#define IDC_COLOR_SLIDER_FIRST       1901
#define IDC_COLOR_BLACK_INTENSITY    1901
#define IDC_COLOR_RED_INTENSITY      1902
#define IDC_COLOR_GREEN_INTENSITY    1903
#define IDC_COLOR_BLUE_INTENSITY     1904
#define IDC_COLOR_BLACK_CONTRAST     1905
#define IDC_COLOR_RED_CONTRAST       1906
#define IDC_COLOR_GREEN_CONTRAST     1907
#define IDC_COLOR_BLUE_CONTRAST      1908
#define IDC_COLOR_VALUE_FIRST        1910
#define IDC_COLOR_BLACK_INTENSITY_VALUE  1910
#define IDC_COLOR_RED_INTENSITY_VALUE    1911
#define IDC_COLOR_GREEN_INTENSITY_VALUE  1912
#define IDC_COLOR_BLUE_INTENSITY_VALUE   1913
#define IDC_COLOR_BLACK_CONTRAST_VALUE   1914
#define IDC_COLOR_RED_CONTRAST_VALUE     1915
#define IDC_COLOR_GREEN_CONTRAST_VALUE   1916
#define IDC_COLOR_BLUE_CONTRAST_VALUE    1917
// The name beside each slider, in the same order (1920..1927)
#define IDC_COLOR_NAME_FIRST         1920

// Controls of the overlay varnish editors (front and back)
#define IDC_OVERLAY_TYPE_GROUP   1230
#define IDC_OVERLAY_TYPE         1231
#define IDC_PREVIEW_GROUP        1240  // the preview's group box, in the overlay and hologram editors
#define IDC_OVERLAY_LEFT_LABEL   1241  // 1241..1244: "Left", "Right", "Top", "Bottom"
#define IDC_OVERLAY_RIGHT_LABEL  1242
#define IDC_OVERLAY_TOP_LABEL    1243
#define IDC_OVERLAY_BOTTOM_LABEL 1244
#define IDC_OVERLAY_LEFT         1245  // coordinate edits: id - 1245 is the coordinate index
#define IDC_OVERLAY_TOP          1246
#define IDC_OVERLAY_RIGHT        1247
#define IDC_OVERLAY_BOTTOM       1248
#define IDC_OVERLAY_BITMAP_GROUP 1249
#define IDC_OVERLAY_LEFT_SPIN    1250  // up-downs: the edit's id + 5
#define IDC_OVERLAY_TOP_SPIN     1251
#define IDC_OVERLAY_RIGHT_SPIN   1252
#define IDC_OVERLAY_BOTTOM_SPIN  1253
#define IDC_OVERLAY_BROWSE       1254
#define IDC_OVERLAY_PATH         1255
#define IDC_OVERLAY_ROTATE       1256

// Controls of the hologram region editor
#define IDC_HOLOGRAM_TYPE_GROUP   1260
#define IDC_HOLOGRAM_TYPE         1261
#define IDC_HOLOGRAM_LEFT_LABEL   1271  // 1271..1274: "Left", "Right", "Top", "Bottom"
#define IDC_HOLOGRAM_RIGHT_LABEL  1272
#define IDC_HOLOGRAM_TOP_LABEL    1273
#define IDC_HOLOGRAM_BOTTOM_LABEL 1274
#define IDC_HOLOGRAM_LEFT         1275  // coordinate edits: id - 1275 is the coordinate index
#define IDC_HOLOGRAM_TOP          1276
#define IDC_HOLOGRAM_RIGHT        1277
#define IDC_HOLOGRAM_BOTTOM       1278
#define IDC_HOLOGRAM_BITMAP_GROUP 1279
#define IDC_HOLOGRAM_LEFT_SPIN    1280  // up-downs: the edit's id + 5
#define IDC_HOLOGRAM_TOP_SPIN     1281
#define IDC_HOLOGRAM_RIGHT_SPIN   1282
#define IDC_HOLOGRAM_BOTTOM_SPIN  1283
#define IDC_HOLOGRAM_BROWSE       1284
#define IDC_HOLOGRAM_PATH         1285
#define IDC_HOLOGRAM_ROTATE       1286

// Controls of the hologram varnish dialog
#define IDC_HOLOGRAM_REGION_BUTTON 1290  // "Hologram Overlay Varnish at front"
#define IDC_HOLOGRAM_ENABLE        1291
#define IDC_HOLOGRAM_PRINT         1292
#define IDC_HOLOGRAM_COPIES        1293
#define IDC_HOLOGRAM_HEAD_SETTINGS 1294

// Controls shared by the dialogs
#define IDC_HELP_BUTTON      1006  // Help
#define IDC_CLOSE_BUTTON     1605  // Close, in the dialogs that have a Help button
