#include "corvane/DVDTitleVideo.h"

// Defined here so the interface has one home in the library.
DVDTitleVideo::~DVDTitleVideo() = default;
