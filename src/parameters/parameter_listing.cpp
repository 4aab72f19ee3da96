#include "parameters/parameter_listing.h"

ParameterListing& parameter_listing() {
    static ParameterListing listing;
    return listing;
}
