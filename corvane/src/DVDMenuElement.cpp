#include "corvane/DVDMenuElement.h"

// Defined here so the interface has one home in the library.
DVDMenuElement::~DVDMenuElement() = default;

bool DVDMenuElement::setJump(const ObjectPtr&)
{
    return false;
}
