// Resource ids of the imaging test program (the launcher's own come from res/resource.h).
#pragma once

#define IDR_TEST_NOT_IMAGE 300
#define IDR_TEST_EMPTY 301
#define IDR_TEST_MISSING 399
