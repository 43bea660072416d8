#pragma once
// exiv2 prints its warnings on standard error unless told otherwise.
namespace orvello {
void silenceExiv2();
}
