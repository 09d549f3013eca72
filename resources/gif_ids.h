// Resources of the "GIF Export" dialog: its template, control ids, the two
// cursors of the preview and the eyedropper icon.
#pragma once

#define IDD_EXPORT_GIF                110

#define IDCUR_GIF_DRAG                105
#define IDCUR_GIF_EYEDROPPER          1234
#define IDI_GIF_EYEDROPPER            372

#define IDT_GIF_ORIGINAL              1801
#define IDS_GIF_PREVIEW_AREA          1802
#define IDG_GIF_TRANSPARENCY          1803
#define IDR_GIF_NONE                  1804
#define IDR_GIF_SELECTED_COLOR        1805
#define IDB_GIF_EYEDROPPER            1806
#define IDS_GIF_SWATCH                1807
#define IDX_GIF_INTERLACED            1808
#define IDX_GIF_PREVIEW               1809
