// Templates of the "Resize Image" and "Batch Resize" dialogs and their control
// ids. The batch template reuses the resize ids for what both show (filter
// list, the two sides, "Constrain Proportions"), since it shares the resize
// dialog's set-up.
#pragma once

#define IDD_RESIZE_IMAGE              491
#define IDD_BATCH_RESIZE              500

#define IDT_RESIZE_MEMORY             1751
#define IDE_RESIZE_WIDTH              1752
#define IDR_RESIZE_WIDTH_PIXELS       1753
#define IDR_RESIZE_WIDTH_PERCENT      1754
#define IDE_RESIZE_HEIGHT             1755
#define IDR_RESIZE_HEIGHT_PIXELS      1756
#define IDR_RESIZE_HEIGHT_PERCENT     1757
#define IDX_RESIZE_CONSTRAIN          1758
#define IDT_RESIZE_FILTER             1759
#define IDC_RESIZE_FILTER             1760
#define IDI_RESIZE_ICON               1761

#define IDX_BATCH_ENLARGE             1762
#define IDX_BATCH_SHRINK              1763
