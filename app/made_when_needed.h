// An object of the shared state that is made the first time it is used (the information and
// confirmation boxes: most runs never show one, and the start-up need not build them).
#pragma once

#include <functional>
#include <memory>
#include <utility>

namespace taliveer {

template <typename T>
class MadeWhenNeeded {
public:
    // How to make it; what was made before goes.
    void SetMaker(std::function<std::unique_ptr<T>()> maker) {
        object_.reset();
        maker_ = std::move(maker);
    }
    T* get() {
        if (!object_ && maker_) object_ = maker_();
        return object_.get();
    }
    T& operator*() { return *get(); }
    T* operator->() { return get(); }
    // It can be had (made already, or makeable).
    explicit operator bool() const { return object_ || maker_; }
    // It exists already; asking this makes nothing.
    bool Made() const { return object_ != nullptr; }
    // Gone, and not to be made again.
    void reset() {
        object_.reset();
        maker_ = nullptr;
    }

private:
    std::function<std::unique_ptr<T>()> maker_;
    std::unique_ptr<T> object_;
};

}  // namespace taliveer
