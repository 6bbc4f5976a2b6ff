#pragma once
// rescalo show: a form opened as a real window on the Qt host with its Rescalo control running.

#include <string>
#include <vector>

namespace rescalo::cli {

// rescalo show FORM.frm [--screenshot DIR] [--size WxH | --scale F ...] [--check]
int show(const std::vector<std::string>& args);

// rescalo convert FORM.frm -o FORM.ui
int convert(const std::vector<std::string>& args);

}  // namespace rescalo::cli
