/* Resource ids shared by Tovik.rc and the code (plain defines, so the
   resource compiler can read them too). */
#ifndef TOVIK_RESOURCE_IDS_H
#define TOVIK_RESOURCE_IDS_H

#define IDI_TOVIK 1

/* 32 x 32 button pictures, true colour with a magenta (255,0,255) background
   that is drawn transparent. */
#define IDB_POWER 201
#define IDB_RESTART 202
#define IDB_LOGOFF 203
#define IDB_TIMER 204
/* 96 x 32 strip of three 32 x 32 pictures for btOops: normal, disabled, pressed. */
#define IDB_OOPS_STRIP 205

#endif
