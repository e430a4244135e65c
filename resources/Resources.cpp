// The bitmaps are compiled in through tolm_bitmaps.qrc; this file gives the
// object library a translation unit of its own.
