// Part of win32.h; do not include directly. (filled in as the layer grows)
#pragma once
#include "platform/win32/base.h"
