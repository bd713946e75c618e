#pragma once

#include "document/DocumentOptions.h"

namespace sonavel::cli {

// The options a new document would take from the user's stored settings,
// read without creating or changing anything in the store.
DocumentOptions LoadUserDefaults();

}  // namespace sonavel::cli
