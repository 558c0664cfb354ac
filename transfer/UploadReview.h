#pragma once

#include "transfer/ImageDifferences.h"

// What the upload asks the user once it knows what the instrument holds. The
// comparison window implements it; the tests answer it.

namespace orvane {

class UploadReviewView
{
public:
    virtual ~UploadReviewView() = default;
    // Shows what the upload will change, before anything is written: true
    // for Upload, false for Cancel.
    virtual bool confirmUpload(const Comparison &comparison) = 0;
    // The same before a unit is restored exactly from a kept copy.
    virtual bool confirmRestore(const Comparison &comparison) { return confirmUpload(comparison); }
    // Says that the instrument already holds everything the upload would
    // write: true when the user has it written all the same.
    virtual bool uploadUnchanged() = 0;
};

} // namespace orvane
