// Identifiers of the resources in setup.rc.
//
// Naming: IDD_ names a dialog template, IDB_ a bitmap, IDC_ a control. A
// control name says what the control is (IDC_PASSWORD, IDC_FLASH_TYPE); its
// static caption adds _LABEL, a group box _GROUP. Every name is unique, but
// different templates reuse numbers (1040 is a radio button on two pages and
// also a bitmap), so compare an IDC_ value only with the controls of its own
// dialog. Numbered rows (bins, ID bytes) run 1, 2, ... in the name and have
// consecutive values, so a range from the first to the last is the row.
// Unnamed statics and group boxes use IDC_STATIC.
#ifndef SETUP_RES_RESOURCE_H
#define SETUP_RES_RESOURCE_H

#define SETUP_VERSION_COMMAS 0, 2, 0, 2
#define SETUP_VERSION_TEXT "0.2.0.2"

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Dialog templates.
#define IDD_FLASH_CHECK 1000  // flash check page (CSetupDlg)
#define IDD_FLASH_ID 1035     // "Add FlashID" editor (CFlashIdDlg)
#define IDD_PASSWORD 1037     // password dialog (CPasswordDlg)
#define IDD_BIN 1042          // bin page (CBinDlg)
#define IDD_MODE 1043         // mode page (CModePage)
#define IDD_ADVANCED 1045     // advanced settings (CAdvancedDlg)

// Bitmaps.
#define IDB_COLOR_SWATCH 1040  // 48 x 20, the flash ID editor's colour swatch
#define IDB_BIN_SWATCH 1041    // 18 x 12, the bin page's swatches

// IDD_FLASH_CHECK
#define IDC_CHECK_FLASH_GROUP 1093
#define IDC_CHECK_FLASH_NAME 1040  // radio: check against the flash name
#define IDC_CHECK_FLASH_ID 1044    // radio: check against the flash ID list
#define IDC_NOT_CHECK 1045         // radio: no flash check
#define IDC_FLASH_NAME 1039        // combo: flash name, sorted
#define IDC_FLASH_ID_LIST 1068     // edit: flash ID lines, read-only
#define IDC_ADD_MODIFY 1069
#define IDC_CHECK_LED_SHORT 1252
#define IDC_CHECK_UID 1253
#define IDC_WARMUP 1254
#define IDC_LOOP_SELECT_LABEL 1263
#define IDC_LOOP_SELECT 1262  // combo: loop direction, Read/Write
#define IDC_OPEN_SHORT_CE 1265
#define IDC_LOOP_TIMES_LABEL 1259
#define IDC_LOOP_TIMES 1256
#define IDC_LOOP_PAGE_LABEL 1261
#define IDC_LOOP_PAGE 1258
#define IDC_LOOP_BLOCK_LABEL 1260
#define IDC_LOOP_BLOCK 1257

// IDD_FLASH_ID
#define IDC_FID_LIST 1070         // owner-drawn list of the flash IDs
#define IDC_FID_COLOR_NAMES 1071  // hidden list: colour name of each ID
#define IDC_FID_BYTE1 5153        // ID byte edits, byte 1 to byte 6
#define IDC_FID_BYTE2 5154
#define IDC_FID_BYTE3 5155
#define IDC_FID_BYTE4 5156
#define IDC_FID_BYTE5 5157
#define IDC_FID_BYTE6 5158
#define IDC_FID_ADD 1073
#define IDC_FID_DELETE 1074
#define IDC_FID_COLOR_NAME 1075  // hidden combo: colour-name choices
#define IDC_FID_SWATCH 1096      // colour swatch, shows IDB_COLOR_SWATCH

// IDD_PASSWORD
#define IDC_PASSWORD_LABEL 1082
#define IDC_PASSWORD 1079
#define IDC_CHANGE_PASSWORD 1077
#define IDC_NEW_PASSWORD_LABEL 1083
#define IDC_NEW_PASSWORD 1080
#define IDC_CHECK_PASSWORD_LABEL 1084
#define IDC_CHECK_PASSWORD 1081  // the new password typed again
#define IDC_REMEMBER_PASSWORD 1078

// IDD_BIN: the standard bins
#define IDC_BIN_CHECK_ENABLE 1058  // ShowBin
#define IDC_COLOR_VERIFY 1117      // ColorBin
#define IDC_STAND_BIN 1142         // StandBin
#define IDC_BIN_LABEL1 1161        // "Bin n" labels, bin 1 to bin 16
#define IDC_BIN_LABEL2 1162
#define IDC_BIN_LABEL3 1163
#define IDC_BIN_LABEL4 1164
#define IDC_BIN_LABEL5 1165
#define IDC_BIN_LABEL6 1166
#define IDC_BIN_LABEL7 1167
#define IDC_BIN_LABEL8 1168
#define IDC_BIN_LABEL9 1169
#define IDC_BIN_LABEL10 1170
#define IDC_BIN_LABEL11 1171
#define IDC_BIN_LABEL12 1172
#define IDC_BIN_LABEL13 1173
#define IDC_BIN_LABEL14 1174
#define IDC_BIN_LABEL15 1175
#define IDC_BIN_LABEL16 1176
#define IDC_BIN_THRESHOLD1 2001  // threshold edits, bin 1 to bin 16
#define IDC_BIN_THRESHOLD2 2002
#define IDC_BIN_THRESHOLD3 2003
#define IDC_BIN_THRESHOLD4 2004
#define IDC_BIN_THRESHOLD5 2005
#define IDC_BIN_THRESHOLD6 2006
#define IDC_BIN_THRESHOLD7 2007
#define IDC_BIN_THRESHOLD8 2008
#define IDC_BIN_THRESHOLD9 2009
#define IDC_BIN_THRESHOLD10 2010
#define IDC_BIN_THRESHOLD11 2011
#define IDC_BIN_THRESHOLD12 2012
#define IDC_BIN_THRESHOLD13 2013
#define IDC_BIN_THRESHOLD14 2014
#define IDC_BIN_THRESHOLD15 2015
#define IDC_BIN_THRESHOLD16 2016
#define IDC_BIN_UNIT1 2081  // unit statics, "M" or "B", bin 1 to bin 16
#define IDC_BIN_UNIT2 2082
#define IDC_BIN_UNIT3 2083
#define IDC_BIN_UNIT4 2084
#define IDC_BIN_UNIT5 2085
#define IDC_BIN_UNIT6 2086
#define IDC_BIN_UNIT7 2087
#define IDC_BIN_UNIT8 2088
#define IDC_BIN_UNIT9 2089
#define IDC_BIN_UNIT10 2090
#define IDC_BIN_UNIT11 2091
#define IDC_BIN_UNIT12 2092
#define IDC_BIN_UNIT13 2093
#define IDC_BIN_UNIT14 2094
#define IDC_BIN_UNIT15 2095
#define IDC_BIN_UNIT16 2096
#define IDC_BIN_SWATCH1 2051  // colour swatches, bin 1 to bin 16
#define IDC_BIN_SWATCH2 2052
#define IDC_BIN_SWATCH3 2053
#define IDC_BIN_SWATCH4 2054
#define IDC_BIN_SWATCH5 2055
#define IDC_BIN_SWATCH6 2056
#define IDC_BIN_SWATCH7 2057
#define IDC_BIN_SWATCH8 2058
#define IDC_BIN_SWATCH9 2059
#define IDC_BIN_SWATCH10 2060
#define IDC_BIN_SWATCH11 2061
#define IDC_BIN_SWATCH12 2062
#define IDC_BIN_SWATCH13 2063
#define IDC_BIN_SWATCH14 2064
#define IDC_BIN_SWATCH15 2065
#define IDC_BIN_SWATCH16 2066

// IDD_BIN: the U3 and SSD bins
#define IDC_U3_BIN_GROUP 1222
#define IDC_SHOW_U3_BIN 1185
#define IDC_SHOW_U2_BIN 1219
#define IDC_SHOW_SSD_BIN 1264
#define IDC_ENHANCE_CHECK_LABEL 1243
#define IDC_ENHANCE_CHECK 1242
#define IDC_SET_BG_COLOR 1221
#define IDC_BG_SWATCH 1218
#define IDC_U3_COLOR_VERIFY 1223
#define IDC_U3_BIN_LABEL1 1198  // "Bin n" labels, U3 bin 1 to U3 bin 8
#define IDC_U3_BIN_LABEL2 1199
#define IDC_U3_BIN_LABEL3 1200
#define IDC_U3_BIN_LABEL4 1201
#define IDC_U3_BIN_LABEL5 1202
#define IDC_U3_BIN_LABEL6 1203
#define IDC_U3_BIN_LABEL7 1204
#define IDC_U3_BIN_LABEL8 1205
#define IDC_U3_BIN_THRESHOLD1 1186  // threshold edits, U3 bin 1 to U3 bin 8
#define IDC_U3_BIN_THRESHOLD2 1187
#define IDC_U3_BIN_THRESHOLD3 1188
#define IDC_U3_BIN_THRESHOLD4 1189
#define IDC_U3_BIN_THRESHOLD5 1190
#define IDC_U3_BIN_THRESHOLD6 1191
#define IDC_U3_BIN_THRESHOLD7 1192
#define IDC_U3_BIN_THRESHOLD8 1193
#define IDC_U3_BIN_UNIT1 1232  // unit statics, U3 bin 1 to U3 bin 8
#define IDC_U3_BIN_UNIT2 1233
#define IDC_U3_BIN_UNIT3 1234
#define IDC_U3_BIN_UNIT4 1235
#define IDC_U3_BIN_UNIT5 1236
#define IDC_U3_BIN_UNIT6 1237
#define IDC_U3_BIN_UNIT7 1238
#define IDC_U3_BIN_UNIT8 1239
#define IDC_U3_BIN_SWATCH1 1208  // colour swatches, U3 bin 1 to U3 bin 8
#define IDC_U3_BIN_SWATCH2 1209
#define IDC_U3_BIN_SWATCH3 1210
#define IDC_U3_BIN_SWATCH4 1211
#define IDC_U3_BIN_SWATCH5 1212
#define IDC_U3_BIN_SWATCH6 1213
#define IDC_U3_BIN_SWATCH7 1214
#define IDC_U3_BIN_SWATCH8 1215
#define IDC_SSD_BIN_LABEL 1206
#define IDC_SSD_BIN_THRESHOLD 1194
#define IDC_SSD_BIN_UNIT 1240
#define IDC_SSD_BIN_SWATCH 1216
#define IDC_SSD_BIN2_LABEL 1207  // second SSD row: disabled, never used
#define IDC_SSD_BIN2_THRESHOLD 1195
#define IDC_SSD_BIN2_UNIT 1241

// IDD_MODE
#define IDC_FLASH_LIST_GROUP 1001
#define IDC_CONTROLLER_LABEL 1128
#define IDC_CONTROLLER 1129
#define IDC_DRIVING_LEVEL_LABEL 1019
#define IDC_DRIVING_LEVEL 1031
#define IDC_FLASH_TYPE_LABEL 1010
#define IDC_FLASH_TYPE 1002  // combo: flash type, sorted
#define IDC_UNAUTO_CHECK 1003
#define IDC_FLASH_NUM_LABEL 1009
#define IDC_FLASH_NUM 1008
#define IDC_CHANNEL_LABEL 1006
#define IDC_CHANNEL 1007
#define IDC_RW_CYCLE_LABEL 1005
#define IDC_RW_CYCLE 1004
#define IDC_TEST_MODE_GROUP 1141
#define IDC_TRAFFIC_LIGHT 1040  // radio: traffic-light scan
#define IDC_FAST_TEST 1044      // radio: capacity (fast) test
#define IDC_OPEN_SHORT_TEST 1045
#define IDC_TEST_CASE_LABEL 1131
#define IDC_TEST_CASE 1130
#define IDC_ECC_LABEL 1012
#define IDC_ECC 1011
#define IDC_ADVANCED 1132
#define IDC_RESTORE_DEFAULTS 1133

// IDD_ADVANCED
#define IDC_EXTRA_GROUP 1140
#define IDC_HUB_PORT_STYLE_LABEL 1161
#define IDC_HUB_PORT_STYLE 1162
#define IDC_FACTORY_DRIVER 1164
#define IDC_CHECK_DDR 1137
#define IDC_SPECIAL_SORTING_CLASS_CHECK 1143
#define IDC_DATA_RETAIN_CHECK 1144
#define IDC_SUM19NM_FEATURE 1145
#define IDC_UNERASE_LEVEL_COMMAND 1147
#define IDC_CLOSE_READ_RETRY 1159
#define IDC_MIN_CAP_LIMIT 1160
#define IDC_MIN_CAP 1175  // edit: minimum capacity in MB
#define IDC_FIXED_CAP_CHECK 1146
#define IDC_FIXED_CAPABILITY 1150
#define IDC_UI_TYPE_LABEL 1155
#define IDC_UI_TYPE 1156
#define IDC_CACHE_PROGRAM 1163
#define IDC_MULTI_PLANE 1230
#define IDC_SORTING_BLOCK_NUM_LABEL 1138
#define IDC_SORTING_BLOCK_NUM 1139
#define IDC_AUTO_MP_TIMER_LABEL 1141
#define IDC_AUTO_MP_TIMER 1142
#define IDC_START_DELAY_LABEL 1157
#define IDC_START_DELAY 1158
#define IDC_CHECK_LEVEL_LABEL 1148
#define IDC_CHECK_LEVEL 1149
#define IDC_CHECK_FLASH_PIN_LABEL 1151
#define IDC_CHECK_FLASH_PIN 1152
#define IDC_SANDISK_ID_LABEL 1153
#define IDC_SANDISK_ID 1154
#define IDC_CHECK_TOGGLE_LABEL 2076
#define IDC_CHECK_TOGGLE 2075
#define IDC_ID00_ERROR_LABEL 2077
#define IDC_ID00_ERROR 2078
#define IDC_GPI_LABEL 2079
#define IDC_GPI 2080
#define IDC_HUB_VID_PID_LABEL 1251
#define IDC_HUB_VID_PID 1245
#define IDC_ADVANCED_OK 1134  // the dialog's own OK and Cancel buttons
#define IDC_ADVANCED_CANCEL 1135

// The settings sheet (CSetupSheet), which has no template of its own. The
// platform's sheet gives its Apply Now button this ID but no name; the sheet
// adds the import and export buttons to the row of standard buttons.
#ifndef ID_APPLY_NOW
#define ID_APPLY_NOW 0x3021  // 12321
#endif
#define IDC_IMPORT_SET 5059
#define IDC_EXPORT_SET 5060

#endif
