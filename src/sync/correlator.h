// Cross-correlation of a short signal against a long reference at every lag, through FFTW.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace tessaview {

class Correlator {
public:
    // `reference` is transformed once; later signals may hold up to `longestSignal` samples.
    Correlator(const std::vector<double>& reference, size_t longestSignal);
    ~Correlator();
    Correlator(const Correlator&) = delete;
    Correlator& operator=(const Correlator&) = delete;

    // Element i is the sum over j of signal[j] * reference[j + lag] with lag = i - (size - 1)
    // for a signal of `size` samples: every lag at which the two overlap, the first lag
    // putting the signal's last sample on the reference's first.
    std::vector<double> Correlate(const std::vector<double>& signal);

    size_t TransformSize() const { return size_; }

private:
    struct Plans;
    size_t size_ = 0;
    size_t referenceLength_ = 0;
    std::unique_ptr<Plans> plans_;
};

// The smallest n >= minimum whose only prime factors are 2, 3, 5 and 7 (fast for FFTW).
size_t SmoothTransformSize(size_t minimum);

}  // namespace tessaview
