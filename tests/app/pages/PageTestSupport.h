#pragma once
// Small helpers of the page tests.

#include <QLocale>
#include <QObject>
#include <QString>
#include <stdexcept>

namespace vadero::test {

// The control of that name on the page; a missing one fails the test loudly.
template <class T>
T& Child(QObject& page, const char* name) {
    T* child = page.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr)
        throw std::logic_error(std::string("no control ") + name);
    return *child;
}

// Numbers typed and shown with "." unless a test picks another locale.
class LocaleScope {
  public:
    explicit LocaleScope(const QLocale& locale = QLocale::c()) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(QLocale::c()); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;
};

}  // namespace vadero::test
