#include "fuzz_entry.h"
#include "targets/descriptions_target.h"

VALMERIN_FUZZ_ENTRY(valmerin::fuzz::DescriptionsTarget)
