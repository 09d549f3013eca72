// Dialog templates of the save-options pages and of the further save-options
// dialogs the host may show, with their control ids (one block per dialog).
#pragma once

#define IDD_JPEG_SAVE_OPTIONS       1140
#define IDD_PNG_SAVE_OPTIONS        1141
#define IDD_PNM_SAVE_OPTIONS        1142
#define IDD_BMP_SAVE_OPTIONS        1143
#define IDD_TIF_SAVE_OPTIONS        1144
#define IDD_HDF_SAVE_OPTIONS        1145
#define IDD_JP2_SAVE_OPTIONS        1146
#define IDD_GIF_SAVE_OPTIONS        1147

// Shared by every save-options template ("Ok" is IDOK, created hidden).
#define IDB_RESTORE_DEFAULTS        1003
#define IDI_SAVE_NOTE_ICON          1006

// "JPG" page: the ids the JPEG rows of gSO name.
#define IDX_JPG_CLIP                1001
#define IDX_JPG_PROGRESSIVE         1002
#define IDR_JPG_LOSSY               1004
#define IDR_JPG_LOSSLESS            1005
#define IDT_JPG_QUALITY_BAR         1013
#define IDE_JPG_QUALITY             1014

// "PNG" page: the ids the PNG rows of gSO name.
#define IDT_PNG_LEVEL_BAR           1016
#define IDE_PNG_LEVEL               1017
#define IDR_PNG_FILTER_NONE         1099
#define IDR_PNG_FILTER_SUB          1100
#define IDR_PNG_FILTER_UP           1101
#define IDR_PNG_FILTER_AVERAGE      1102
#define IDR_PNG_FILTER_PAETH        1104
#define IDR_PNG_FILTER_ADAPTIVE     1105
#define IDR_PNG_INTERLACE_NONE      1171
#define IDR_PNG_INTERLACE_ADAM7     1172

// PGM, PNM, PPM.
#define IDR_PNM_ASCII               1201
#define IDR_PNM_BINARY              1202

// BMP.
#define IDR_BMP_WINDOWS             1211
#define IDR_BMP_OS2                 1212
#define IDR_BMP_DEPTH1              1213
#define IDR_BMP_DEPTH4              1214
#define IDR_BMP_DEPTH8              1215
#define IDR_BMP_DEPTH24             1216
#define IDX_BMP_RLE                 1217

// TIF.
#define IDR_TIF_NONE                1221
#define IDR_TIF_LZW                 1222
#define IDR_TIF_PACKBITS            1223
#define IDR_TIF_JPG                 1224
#define IDR_TIF_ZIP                 1225
#define IDR_TIF_HUFFMAN             1226
#define IDR_TIF_FAX3                1227
#define IDR_TIF_FAX4                1228
#define IDR_TIF_INTEL               1229
#define IDR_TIF_MOTOROLA            1230

// HDF.
#define IDR_HDF_DEPTH8              1231
#define IDR_HDF_DEPTH24             1232
#define IDR_HDF_NONE                1233
#define IDR_HDF_RLE                 1234
#define IDR_HDF_JPG                 1235

// JPG 2000.
#define IDR_JP2_LOSSLESS            1241
#define IDR_JP2_QUALITY             1242
#define IDR_JP2_MAX_SIZE            1243
#define IDE_JP2_MAX_SIZE            1244
#define IDT_JP2_QUALITY_BAR         1245
#define IDE_JP2_QUALITY             1246

// GIF.
#define IDX_GIF_LZW                 1251
#define IDX_GIF_INTERLACED          1252
#define IDX_GIF_TRANSPARENT         1253
#define IDE_GIF_RED                 1254
#define IDE_GIF_GREEN               1255
#define IDE_GIF_BLUE                1256

// Templates only hosts open: a compression choice and a picture's properties.
#define IDD_COMPRESSION             1139
#define IDC_COMPRESSION_CHOICE      1150
#define IDD_IMAGE_PROPERTIES        1148
#define IDT_PROP_FILE_NAME          1160
#define IDT_PROP_FOLDER             1161
#define IDT_PROP_PIXEL_SIZE         1162
#define IDT_PROP_COLOR_DEPTH        1163
#define IDT_PROP_FILE_SIZE          1164
#define IDT_PROP_CREATED            1165
#define IDT_PROP_MODIFIED           1166
