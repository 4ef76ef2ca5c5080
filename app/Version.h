// Version numbers, shared by the code and the version resource.
#pragma once

#define TOCKWEN_VERSION_BINARY 1, 1, 0, 0
#define TOCKWEN_FILE_VERSION "1.01"
#define TOCKWEN_PRODUCT_VERSION "1.01"
