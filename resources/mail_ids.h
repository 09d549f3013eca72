// Control ids of the "E-mail pictures" dialog.
#pragma once

#define IDD_EMAIL_PICTURES            434

#define IDT_MAIL_ADD_HINT             1201   // "Add Pictures...", in bold
#define IDL_MAIL_PICTURES             1136
#define IDB_MAIL_REMOVE_ALL           1139
#define IDS_MAIL_PREVIEW              1105   // owner drawn
#define IDB_MAIL_ADD                  1140
#define IDB_MAIL_REMOVE_SELECTED      1137
#define IDE_MAIL_TOTAL_SIZE           1138
#define IDX_MAIL_ZIP                  1001
#define IDX_MAIL_RESIZE               1294
#define IDB_MAIL_RESIZE_OPTIONS       1295
#define IDG_MAIL_RESIZING             1297
#define IDP_MAIL_RESIZING             1296
#define IDB_MAIL_POSTPONE             3089
