/* Resource ids shared by Tovik.rc and the code (plain defines, so the
   resource compiler can read them too). */
#ifndef TOVIK_RESOURCE_IDS_H
#define TOVIK_RESOURCE_IDS_H

/* The program icon, 16 to 256 pixels at 32 bits with alpha. */
#define IDI_TOVIK 1

/* 32 x 32 button pictures, true colour with a magenta (255,0,255) background
   that is drawn transparent. */
#define IDB_POWER 201
#define IDB_RESTART 202
#define IDB_LOGOFF 203
#define IDB_TIMER 204
/* 96 x 32 strip of three 32 x 32 pictures for btOops: normal, disabled, pressed. */
#define IDB_OOPS_STRIP 205

/* The same pictures for higher DPI, 40, 48 and 64 pixels high (125, 150 and
   200 %): the id of the 32-pixel picture plus IDB_SIZE_STEP times 1, 2, 3. */
#define IDB_SIZE_STEP 10
#define IDB_POWER_40 211
#define IDB_RESTART_40 212
#define IDB_LOGOFF_40 213
#define IDB_TIMER_40 214
#define IDB_OOPS_STRIP_40 215
#define IDB_POWER_48 221
#define IDB_RESTART_48 222
#define IDB_LOGOFF_48 223
#define IDB_TIMER_48 224
#define IDB_OOPS_STRIP_48 225
#define IDB_POWER_64 231
#define IDB_RESTART_64 232
#define IDB_LOGOFF_64 233
#define IDB_TIMER_64 234
#define IDB_OOPS_STRIP_64 235

#endif
