// The smallest C++ program that writes a line: the cost of starting any program of this kind,
// measured beside morvane-cli.
#include <iostream>

int main() {
    std::cout << "Hello, world\n";
}
