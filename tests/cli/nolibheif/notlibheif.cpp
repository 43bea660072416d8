// Installed as libheif.so.1 in a folder of its own: a library by that name that lacks libheif's
// functions, as a broken installation would leave.
extern "C" int orvello_not_libheif = 0;
