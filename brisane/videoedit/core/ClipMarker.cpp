#include "videoedit/core/ClipMarker.h"
