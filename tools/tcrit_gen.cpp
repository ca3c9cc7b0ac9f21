// Writes the critical t table read by the calibration engine: 201 records of 20 two-sided
// critical values, one record per line. Records 1 to 200 are Student's t with 1 to 200 degrees
// of freedom, record 201 the large-sample (standard normal) values. Columns follow the tail
// probabilities 0.001, 0.005, 0.01 to 0.10 in steps of 0.01, then 0.2 to 0.9 in steps of 0.1.
//
// Usage: tcrit_gen [output-file]   (standard output when no file is named)

#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>

#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

namespace {

constexpr int kDegreesOfFreedomRows = 200;

// Two-sided tail probabilities, column 1 first.
constexpr std::array<double, 20> kTailProbabilities = {0.001, 0.005, 0.01, 0.02, 0.03, 0.04, 0.05,
                                                       0.06,  0.07,  0.08, 0.09, 0.10, 0.2,  0.3,
                                                       0.4,   0.5,   0.6,  0.7,  0.8,  0.9};

// The two-sided critical value leaves half the tail probability above it; taking the quantile
// of the upper-tail complement keeps full precision for the small probabilities.
template <class Distribution>
double twoSidedCriticalValue(const Distribution& distribution, double tailProbability) {
    return boost::math::quantile(boost::math::complement(distribution, tailProbability / 2));
}

template <class Distribution> std::string recordLine(const Distribution& distribution) {
    std::string line;
    char cell[32];
    for (double p : kTailProbabilities) {
        std::snprintf(cell, sizeof cell, "%.6f", twoSidedCriticalValue(distribution, p));
        if (!line.empty())
            line += ", ";
        line += cell;
    }
    return line + '\n';
}

void writeTable(std::ostream& out) {
    for (int df = 1; df <= kDegreesOfFreedomRows; ++df)
        out << recordLine(boost::math::students_t(df));
    out << recordLine(boost::math::normal());
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::cerr << "usage: tcrit_gen [output-file]\n";
        return 2;
    }
    if (argc == 1) {
        writeTable(std::cout);
        return std::cout.good() ? 0 : 1;
    }
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    writeTable(file);
    file.close();
    if (!file) {
        std::cerr << "tcrit_gen: could not write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
