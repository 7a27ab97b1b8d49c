// Private to engine/system: what a platform back end provides to the date
// service.
#pragma once

#include "engine/system/date.h"

// Reads the local wall-clock time. False when the system cannot give it.
bool date_local_clock(DateFields* out);
