// The help window. (To be built.)
#include "app/app_state.h"
#include "app/chrome.h"
