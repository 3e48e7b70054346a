#pragma once
// Process-wide settings made once at start, by the station and by the tests.

// Maps the layouts' "MS Sans Serif" to Liberation Sans at the same pixel size.
void PreparerApplication();
