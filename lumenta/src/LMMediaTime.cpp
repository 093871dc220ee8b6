#include "lumenta/LMMediaTime.h"

int64_t lm_default_time_base()
{
    return 1000000;
}

double lm_ff_time_to_double(LMMediaTime time)
{
    return static_cast<double>(time) / static_cast<double>(lm_default_time_base());
}
