#include <rescalo/host/error.h>

namespace rescalo::host {

std::string_view standardDescription(int number) {
  switch (number) {
    case 5:
      return "Invalid procedure call or argument";
    case 6:
      return "Overflow";
    case 7:
      return "Out of memory";
    case 9:
      return "Subscript out of range";
    case 11:
      return "Division by zero";
    case 13:
      return "Type mismatch";
    case 91:
      return "Object variable or With block variable not set";
    case 94:
      return "Invalid use of Null";
    case 380:
      return "Invalid property value";
    case 381:
      return "Invalid property array index";
    case 383:
      return "Property is read-only";
    case 384:
      return "A form can't be moved or sized while minimized or maximized";
    case 424:
      return "Object required";
    case 438:
      return "Object doesn't support this property or method";
    case 448:
      return "Named argument not found";
    case 449:
      return "Argument not optional";
    case 450:
      return "Wrong number of arguments or invalid property assignment";
    case 457:
      return "This key is already associated with an element of this collection";
    case 35600:
      return "Index out of bounds";
    case 35601:
      return "Element not found";
    case 35602:
      return "Key is not unique in collection";
    case 35603:
      return "Invalid key";
    case 35611:
      return "Property is read-only if image list contains images";
    case 35617:
      return "ImageList cannot be modified while another control is bound to it";
    default:
      return "Application-defined or object-defined error";
  }
}

HostError::HostError(int number, std::string description, std::string source)
    : std::runtime_error(description),
      number_(number),
      description_(std::move(description)),
      source_(std::move(source)) {}

void raise(int number) { throw HostError(number); }
void raise(int number, std::string description) { throw HostError(number, std::move(description)); }

}  // namespace rescalo::host
