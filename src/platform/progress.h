// The target of progress positions (0..100). On Windows it is a progress bar
// window that receives PBM_SETPOS; anywhere it may be a callback instead.
#pragma once

#include <functional>

namespace kestrum {

class ProgressTarget {
public:
    using Callback = std::function<void(int position)>;

    ProgressTarget() = default;  // positions go nowhere
    explicit ProgressTarget(Callback callback) : m_callback(std::move(callback)) {}
#ifdef _WIN32
    explicit ProgressTarget(void* barWindow) : m_bar(barWindow) {}
#endif

    void SetPos(int position) const;

private:
    Callback m_callback;
#ifdef _WIN32
    void* m_bar = nullptr;
#endif
};

}  // namespace kestrum
