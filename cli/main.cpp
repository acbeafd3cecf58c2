// yingzhou-cli: the readers of 影舟 from a terminal.
#include <iostream>
#include <string>
#include <vector>

#include "app/address_options.h"
#include "app/default_addresses.h"
#include "commands.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      std::cout << yz::cli::HelpText();
      return 0;
    }
  }
  yz::Addresses addresses = yz::DefaultAddresses();
  std::string error;
  if (!yz::TakeAddressOptions(args, addresses, error)) {
    std::cerr << "yingzhou-cli: " << error << "\nTry 'yingzhou-cli --help'.\n";
    return yz::cli::kExitUsage;
  }
  return yz::cli::RunCommand(args, addresses, std::cout, std::cerr);
}
