// The banner as the generator prints it at the start of every run, written
// out here so that the tests hold the programs to it.
#ifndef ZELKOR_TEST_SUPPORT_BANNER_LINES_H_
#define ZELKOR_TEST_SUPPORT_BANNER_LINES_H_

inline constexpr char kBanner[] =
    "========================================================================\n"
    "Quarrion\n"
    "                       Zelkor Generator\n"
    "Quarrion hex map to webmap converter                  Compiled: 9/17/2003\n"
    "Version 1 Beta\n"
    "                      From the game database,    \n"
    "                                              to the webmap, hex by "
    "hex.\n"
    "========================================================================\n"
    "\n";

#endif  // ZELKOR_TEST_SUPPORT_BANNER_LINES_H_
