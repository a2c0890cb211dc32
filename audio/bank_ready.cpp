#include "audio/bank_ready.h"

SongBankReady songBankReady;
