// The two texts of the generic installer's version block that `package`
// writes the author's scenario into, in place: fixed-size runs of UTF-16 that
// no other resource holds. Read by the resource compiler and by the tool.
#pragma once

// The product name: the scenario's name, 64 characters at most.
#define LORVENA_PRODUCT_NAME_PLACEHOLDER "PLACEHOLDER:PRODUCT-NAME:#######################################"
// The description: "Scenario NAME TRAIN: installazione", 160 at most.
#define LORVENA_FILE_DESCRIPTION_PLACEHOLDER \
  "PLACEHOLDER:FILE-DESCRIPTION:###################################################################################################################################"
