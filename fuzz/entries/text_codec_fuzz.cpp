#include "fuzz_entry.h"
#include "targets/text_codec_target.h"

VALMERIN_FUZZ_ENTRY(valmerin::fuzz::TextCodecTarget)
