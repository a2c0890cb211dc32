#include "core/bank_ready.h"

SongBankReady songBankReady;
