#include "fuzz_entry.h"
#include "targets/field_reader_target.h"

VALMERIN_FUZZ_ENTRY(valmerin::fuzz::FieldReaderTarget)
