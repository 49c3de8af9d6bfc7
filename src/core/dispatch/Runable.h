#pragma once
// Tasks handed to the user-interface thread.
//
// A `Runable` is released by whoever ends up holding it (the dispatcher after running or dropping a posted
// task, a timer record when the timer ends), never deleted directly.

#include <functional>
#include <utility>

namespace common {

class Runable {
public:
    virtual void release() { delete this; }
    virtual ~Runable() = default;
    virtual void run() = 0;
};

// Runs a function object. Running an empty one is a programming error (std::bad_function_call).
class FunctionRunable final : public Runable {
public:
    explicit FunctionRunable(std::function<void()> fn) : m_fn(std::move(fn)) {}
    void run() override { m_fn(); }

private:
    std::function<void()> m_fn;
};

// Calls object->*member(a1, a2).
template <class T, class A1, class A2>
class MemberFuncRunable2 final : public Runable {
public:
    using Member = void (T::*)(A1, A2);
    MemberFuncRunable2(T* object, Member member, A1 a1, A2 a2)
        : m_object(object), m_member(member), m_a1(std::move(a1)), m_a2(std::move(a2)) {}
    void run() override { (m_object->*m_member)(m_a1, m_a2); }

private:
    T* m_object;
    Member m_member;
    A1 m_a1;
    A2 m_a2;
};

} // namespace common
