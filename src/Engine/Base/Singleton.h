#pragma once
// The managers' one way to be process-wide: `class X : public Singleton<X>`.
// The instance is made on first use and deleted only by destroyInstance, which
// the Engine calls in its shutdown order; static teardown never touches it.
// getInstance only creates: start-up work is each manager's own explicit step.
// A manager whose constructor or destructor is private befriends Singleton<X>.

template <typename T>
class Singleton {
public:
    // The instance, made on first use.
    static T* getInstance()
    {
        if (!instance)
            instance = new T();
        return instance;
    }
    // The instance, or null when there is none; never makes one.
    static T* existingInstance() { return instance; }
    // Deletes the instance; nothing when there is none. The pointer is
    // cleared after the destructor ran, so that parts torn down with the
    // instance still reach it; the next getInstance makes a new one.
    static void destroyInstance()
    {
        delete instance;
        instance = nullptr;
    }

protected:
    Singleton() = default;
    ~Singleton() = default;

private:
    inline static T* instance = nullptr;
};
