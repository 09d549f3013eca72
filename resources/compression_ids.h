// Control ids of the save dialog's "Advanced options" panel. Kept outside the
// common dialog's own range (0x400-0x4ff) so nothing in the panel is taken for
// one of the dialog's standard controls.
#pragma once

#define IDD_ADVANCED_OPTIONS          1114

#define IDG_ADVANCED_OPTIONS          1701
#define IDT_COMPRESSION_TYPE          1702
#define IDC_COMPRESSION_TYPE          1703
#define IDX_NO_FILTER_DIALOG          1704
