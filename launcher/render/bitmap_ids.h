/* Ids of the launcher's own bitmap resources (shared by bitmaps.rc and the code). */
#pragma once

#define IDB_PRESS_PATTERN 128 /* 8x8 monochrome pattern: press strips, popup shadows */
#define IDB_COMBO_IMAGES 161  /* folder and drive images of the folder combo, 8 x 16x16 */
#define IDB_MODE_GLYPHS 187   /* mode-button glyphs, 16 wide */
#define IDB_COPY_MARK 275     /* copy mark added into the drag image's colour */
#define IDB_COPY_MASK 276     /* copy mark's mask, ANDed into the drag image's mask */
#define IDB_KEY_UP 289        /* face of a released function key */
#define IDB_KEY_DOWN 290      /* face of a pressed function key */
#define IDB_LAMPS 291         /* lamps of the TASK, TOP and LOCK keys, off and on, 20 wide */
/* The same strips drawn at 150 % and 200 % (see dpi_scale.h): 1000 and 2000 above. */
#define IDB_MODE_GLYPHS_150 1187
#define IDB_KEY_UP_150 1289
#define IDB_KEY_DOWN_150 1290
#define IDB_LAMPS_150 1291
#define IDB_MODE_GLYPHS_200 2187
#define IDB_KEY_UP_200 2289
#define IDB_KEY_DOWN_200 2290
#define IDB_LAMPS_200 2291
