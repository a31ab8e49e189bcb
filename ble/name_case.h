#pragma once
// Upper case of device names for the scan's name filter. Names are UTF-8 and
// people type them in any case ("drucker-küche" for "DRUCKER-KÜCHE"), so the
// letters of the European scripts a device name may carry are mapped, not
// only ASCII. One letter to one letter ("ß" stays): prefixes keep their length.

#include <string>

std::string NbUpperName(const std::string& S);
