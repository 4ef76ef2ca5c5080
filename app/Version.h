// The program's version, defined once: the window caption, the information box, the version
// resource and the build all take it from here.
#pragma once

#define TOCKWEN_VERSION_MAJOR 1
#define TOCKWEN_VERSION_MINOR 1

#define TOCKWEN_VERSION_STR2(x) #x
#define TOCKWEN_VERSION_STR(x) TOCKWEN_VERSION_STR2(x)

// "1.1", as the caption and the information box show it
#define TOCKWEN_VERSION_TEXT                                                                                 \
    TOCKWEN_VERSION_STR(TOCKWEN_VERSION_MAJOR) "." TOCKWEN_VERSION_STR(TOCKWEN_VERSION_MINOR)

// the version resource: 1,1,0,0 and "1.01", the minor number written with two digits
#define TOCKWEN_VERSION_BINARY TOCKWEN_VERSION_MAJOR, TOCKWEN_VERSION_MINOR, 0, 0
#define TOCKWEN_FILE_VERSION                                                                                 \
    TOCKWEN_VERSION_STR(TOCKWEN_VERSION_MAJOR) ".0" TOCKWEN_VERSION_STR(TOCKWEN_VERSION_MINOR)
#define TOCKWEN_PRODUCT_VERSION TOCKWEN_FILE_VERSION

#ifndef RC_INVOKED
static_assert(TOCKWEN_VERSION_MINOR >= 0 && TOCKWEN_VERSION_MINOR < 10,
              "the file version pads the minor number to two digits");
#endif
