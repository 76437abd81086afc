#pragma once
// A lazy coroutine that produces one value, so that the work of several
// calibrators reads as straight code and still shares one event loop: each
// step that waits (a transfer, a pause) suspends its task, and the loop
// resumes it when the step is done.
//
// Await a task into a variable, never inside an if or while condition: GCC 12
// loses the continuation of a task awaited there (the awaiter is never
// resumed), nor pass one an argument made from braces of a type with
// members to destroy (GCC 12 destroys it twice).

#include <coroutine>
#include <exception>
#include <optional>
#include <utility>

namespace vadero::cli {

template <class T>
class Task {
  public:
    struct promise_type {
        std::optional<T> value;
        std::exception_ptr failure;
        std::coroutine_handle<> continuation = std::noop_coroutine();

        Task get_return_object() {
            return Task(std::coroutine_handle<promise_type>::from_promise(*this));
        }
        std::suspend_always initial_suspend() noexcept { return {}; }
        auto final_suspend() noexcept {
            struct Resumer {
                bool await_ready() noexcept { return false; }
                std::coroutine_handle<> await_suspend(
                    std::coroutine_handle<promise_type> done) noexcept {
                    return done.promise().continuation;
                }
                void await_resume() noexcept {}
            };
            return Resumer{};
        }
        template <class U>
        void return_value(U&& v) {
            value.emplace(std::forward<U>(v));
        }
        void unhandled_exception() { failure = std::current_exception(); }
    };

    Task(Task&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
    Task& operator=(Task&& other) noexcept {
        if (this != &other) {
            destroy();
            handle_ = std::exchange(other.handle_, {});
        }
        return *this;
    }
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;
    ~Task() { destroy(); }

    // Awaited by another task: runs this one, then goes on with the awaiter.
    bool await_ready() const noexcept { return false; }
    std::coroutine_handle<> await_suspend(std::coroutine_handle<> awaiter) noexcept {
        handle_.promise().continuation = awaiter;
        return handle_;
    }
    T await_resume() { return Result(); }

    // Started from plain code: runs until its first wait.
    void Start() { handle_.resume(); }
    bool Done() const { return handle_.done(); }
    // The value, or the exception the task ended with.
    T Result() {
        if (handle_.promise().failure)
            std::rethrow_exception(handle_.promise().failure);
        return std::move(*handle_.promise().value);
    }

  private:
    explicit Task(std::coroutine_handle<promise_type> handle) : handle_(handle) {}
    void destroy() {
        if (handle_)
            handle_.destroy();
    }

    std::coroutine_handle<promise_type> handle_;
};

}  // namespace vadero::cli
