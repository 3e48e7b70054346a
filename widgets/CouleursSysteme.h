#pragma once
// The system colours live with the application's palette in platform/; the
// widgets and screens include them under this name too.
#include "platform/CouleursSysteme.h"
