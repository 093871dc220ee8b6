#include "videoedit/ClipMarker.h"
