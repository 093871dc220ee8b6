#include "corvane/DVDChapterVideo.h"

// Defined here so the interface has one home in the library.
DVDChapterVideo::~DVDChapterVideo() = default;
