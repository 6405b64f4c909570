#include "media/MediaRecords.h"

void ResetOutputOptions(TOutputOptions& options) { options = TOutputOptions{}; }

void ResetInputOptions(TInputOptions& options) { options = TInputOptions{}; }
