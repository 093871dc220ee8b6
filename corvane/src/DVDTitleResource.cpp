#include "corvane/DVDTitleResource.h"

// Defined here so the interface has one home in the library.
DVDTitleResource::~DVDTitleResource() = default;
