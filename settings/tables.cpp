// The exported option tables with their defaults. The host addresses rows by
// index and fields by offset, so the layouts are pinned here at compile time.
#include "lorvexops/settings.h"

#include <cstddef>

static_assert(sizeof(VIEWOPTIONS) == 208, "VIEWOPTIONS is shared with the host");
static_assert(offsetof(VIEWOPTIONS, dwID) == 200 && offsetof(VIEWOPTIONS, nValue) == 204,
              "VIEWOPTIONS field offsets");
static_assert(sizeof(BOOL_OPTIONS) == 208, "tagBOOL_OPTIONS is shared with the host");
static_assert(sizeof(bool) == 1, "the truth value of tagBOOL_OPTIONS is one byte");
static_assert(offsetof(BOOL_OPTIONS, nID) == 0 && offsetof(BOOL_OPTIONS, bValue) == 4 &&
                  offsetof(BOOL_OPTIONS, szName) == 6,
              "tagBOOL_OPTIONS field offsets");
static_assert(sizeof(SAVEOPTIONS) == 312, "SAVEOPTIONS is shared with the host");
static_assert(offsetof(SAVEOPTIONS, nValue) == 200 && offsetof(SAVEOPTIONS, szText) == 204 &&
                  offsetof(SAVEOPTIONS, nFirstID) == 304 && offsetof(SAVEOPTIONS, nSecondID) == 308,
              "SAVEOPTIONS field offsets");
static_assert(offsetof(LORVEX_3D_OPTIONS, nValue) == sizeof(void*),
              "LORVEX_3D_OPTIONS: the value follows the name pointer");

extern "C" {

VIEWOPTIONS gVO[LORVEX_VO_ROWS] = {
    {L"AI", 1011, 0},
    {L"AW", 1012, 1},
    {L"EnlargeAI", 1007, 0},
    {L"ShrinkAI", 1008, 0},
    {L"EnalrgeAW", 1009, 0},
    {L"ShrinkAW", 1013, 1},
    {L"StartFS", 1021, 0},
    {L"EnlargeFS", 1016, 0},
    {L"ShrinkFS", 1017, 1},
    {L"CenterToScreen", 1015, 0},
    {L"RollOver", 1023, 1},
    {L"OneLorvexInstance", 1024, 1},
    {L"ShowRGB", 1025, 1},
    {L"ApplyFS", 1018, 1},
    {L"DialogErrors", 1098, 1},
    {L"ShowCrsFS", 1019, 0},
    {L"RestoreFS", 1020, 1},
    {L"DynamicHelp", 1099, 1},
};

VIEWOPTIONS gVSO[LORVEX_VSO_ROWS] = {
    {L"SkipOnFastView", 1022, 0},
    {L"SampleVLI", 1029, 0},
    {L"OpenFileOutExt", 1100, 0},
    {L"LinearScale", 1118, 0},
};

THUMBOPTIONS gTO[LORVEX_TO_ROWS] = {
    {L"CacheDirectory", 1113, 1},
    {L"CacheSize", 1328, 300},
    {L"ThumbQuality", 1115, 0},
    {L"Thumb TTDelay", 1114, 1},
};

BOOL_OPTIONS gBO[LORVEX_BO_ROWS] = {
    {1104, true, L"Fit Sel"},
    {1105, false, L"Crop Sel"},
    {0, false, L"Sel ZS"},
    {1, false, L"On Top"},
};

BOOL_OPTIONS gVFAV[LORVEX_VFAV_ROWS] = {
    {1303, false, L"AutoUppdateFromHDD"},
    {1305, false, L"LoadAllPictures"},
    {1313, true, L"ShowPopup"},
};

SAVEOPTIONS gSO[LORVEX_SO_ROWS] = {
    {L"JPG Quality", 75, L"", 1014, 1013},
    {L"JPG Lossless Transforms", 1, L"", 1005, 0},
    {L"JPG Trim on Lossless", 0, L"", 1001, 0},
    {L"PNG Quality", 3, L"", 1017, 1016},
    {L"PNG Interlaced", 1171, L"", 1171, 1172},
    {L"Save After RorM", -1, L"", 1061, 1064},
    {L"Save ARM Append", 0, L"_modified_by_Lorvex", 1094, 0},
    {L"Keep Orig DateTime", 0, L"", 1180, 0},
    {L"JPG Save Progressive", 0, L"", 1002, 0},
    {L"PNG Filter", 1099, L"", 1099, 1105},
};

LORVEX_3D_OPTIONS Lorvex3DOptions[LORVEX_3D_ROWS] = {
    {L"CameraMode", 1},
    {L"ShowAxes", 0},
    {L"AxesOuterEdge", 1},
    {L"DrawMode", 2},
    {L"TrackballMode", 0},
};

WCHAR gszExtEdit[LORVEX_EXTEDIT_CHARS] = {};

}  // extern "C"
