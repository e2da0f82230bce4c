// The banner that opens every run's console output.
#ifndef ZELKOR_DRIVER_BANNER_H_
#define ZELKOR_DRIVER_BANNER_H_

#include <string>

// The eight banner lines and the empty line after them, each with its line
// break.
std::string bannerText();

#endif  // ZELKOR_DRIVER_BANNER_H_
