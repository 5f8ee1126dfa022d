// Cross-correlation through real-to-complex FFTs: the reference's spectrum is kept, each
// signal costs one forward and one inverse transform.
#include "sync/correlator.h"

#include <fftw3.h>

#include <algorithm>
#include <complex>
#include <mutex>
#include <stdexcept>

namespace tessaview {

namespace {

// FFTW's planner is not thread-safe; executing a plan is.
std::mutex& plannerMutex() {
    static std::mutex mutex;
    return mutex;
}

template <typename T>
struct FftwFree {
    void operator()(T* p) const { fftw_free(p); }
};
template <typename T>
using FftwBuffer = std::unique_ptr<T, FftwFree<T>>;

template <typename T>
FftwBuffer<T> allocate(size_t count) {
    T* p = static_cast<T*>(fftw_malloc(sizeof(T) * count));
    if (!p) throw std::bad_alloc();
    return FftwBuffer<T>(p);
}

}  // namespace

size_t SmoothTransformSize(size_t minimum) {
    for (size_t n = std::max<size_t>(minimum, 1);; ++n) {
        size_t m = n;
        for (size_t p : {2, 3, 5, 7})
            while (m % p == 0) m /= p;
        if (m == 1) return n;
    }
}

struct Correlator::Plans {
    FftwBuffer<double> real;
    FftwBuffer<fftw_complex> spectrum;
    FftwBuffer<fftw_complex> referenceSpectrum;
    fftw_plan forward = nullptr;
    fftw_plan inverse = nullptr;
    ~Plans() {
        const std::lock_guard lock(plannerMutex());
        if (forward) fftw_destroy_plan(forward);
        if (inverse) fftw_destroy_plan(inverse);
    }
};

Correlator::Correlator(const std::vector<double>& reference, size_t longestSignal)
    : size_(SmoothTransformSize(reference.size() + longestSignal)),
      referenceLength_(reference.size()),
      plans_(std::make_unique<Plans>()) {
    const size_t bins = size_ / 2 + 1;
    plans_->real = allocate<double>(size_);
    plans_->spectrum = allocate<fftw_complex>(bins);
    plans_->referenceSpectrum = allocate<fftw_complex>(bins);
    {
        const std::lock_guard lock(plannerMutex());
        const int n = static_cast<int>(size_);
        plans_->forward = fftw_plan_dft_r2c_1d(n, plans_->real.get(), plans_->spectrum.get(), FFTW_ESTIMATE);
        plans_->inverse = fftw_plan_dft_c2r_1d(n, plans_->spectrum.get(), plans_->real.get(), FFTW_ESTIMATE);
    }
    if (!plans_->forward || !plans_->inverse) throw std::runtime_error("FFTW could not plan a transform");
    std::fill_n(std::copy(reference.begin(), reference.end(), plans_->real.get()), size_ - reference.size(), 0.0);
    fftw_execute(plans_->forward);
    std::copy_n(reinterpret_cast<const double*>(plans_->spectrum.get()), 2 * bins,
                reinterpret_cast<double*>(plans_->referenceSpectrum.get()));
}

Correlator::~Correlator() = default;

std::vector<double> Correlator::Correlate(const std::vector<double>& signal) {
    if (signal.empty()) return {};
    if (signal.size() > size_ - referenceLength_)
        throw std::invalid_argument("signal longer than the correlator was made for");
    const size_t length = signal.size();
    double* real = plans_->real.get();
    std::fill_n(std::copy_n(signal.begin(), length, real), size_ - length, 0.0);
    fftw_execute(plans_->forward);
    // conj(S) x R is the spectrum of the correlation; c2r leaves it scaled by the size.
    const size_t bins = size_ / 2 + 1;
    auto* s = reinterpret_cast<std::complex<double>*>(plans_->spectrum.get());
    const auto* r = reinterpret_cast<const std::complex<double>*>(plans_->referenceSpectrum.get());
    for (size_t k = 0; k < bins; ++k) s[k] = std::conj(s[k]) * r[k];
    fftw_execute(plans_->inverse);
    // Lag L sits at index L mod size; negative lags wrap to the end.
    const double scale = 1.0 / static_cast<double>(size_);
    std::vector<double> out(length - 1 + referenceLength_);
    for (size_t i = 0; i < out.size(); ++i) {
        const ptrdiff_t lag = static_cast<ptrdiff_t>(i) - static_cast<ptrdiff_t>(length - 1);
        out[i] =
            real[lag < 0 ? static_cast<size_t>(lag + static_cast<ptrdiff_t>(size_)) : static_cast<size_t>(lag)] * scale;
    }
    return out;
}

}  // namespace tessaview
