#include <rescalo/host/user_control.h>

#include <algorithm>

namespace rescalo::host {

bool UserControlRegistry::Less::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return foldCase(x) < foldCase(y); });
}

void UserControlRegistry::add(std::string className, UserControlFactory factory) {
  factories_[std::move(className)] = std::move(factory);
}

std::shared_ptr<UserControl> UserControlRegistry::create(std::string_view className) const {
  auto it = factories_.find(className);
  if (it == factories_.end()) return nullptr;
  return it->second();
}

bool UserControlRegistry::has(std::string_view className) const {
  return factories_.find(className) != factories_.end();
}

}  // namespace rescalo::host
