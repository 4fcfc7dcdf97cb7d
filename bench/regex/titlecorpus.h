// A corpus of realistic window titles (UTF-8) generated from templates of editors, browsers,
// terminals, mail clients and file managers in several languages; the same titles on every run.
#pragma once

#include <string>
#include <vector>

std::vector<std::string> generateTitles(int count);
