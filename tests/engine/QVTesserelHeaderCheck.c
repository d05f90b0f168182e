/* Compiles the public header as C, as a C caller sees it (its layout checks run here too), and reports the
 * record sizes that C sees. */
#include "engine/QVTesserel.h"

void QvRecordSizesSeenFromC(size_t sizes[4]);

void QvRecordSizesSeenFromC(size_t sizes[4]) {
  sizes[0] = sizeof(UpdaterParams);
  sizes[1] = sizeof(UpdateStatus);
  sizes[2] = sizeof(UpdateProgress);
  sizes[3] = sizeof(FileRecord);
}
