#include "corvane/DVDMenuPage.h"

// Defined here so the interface has one home in the library.
DVDMenuPage::~DVDMenuPage() = default;
