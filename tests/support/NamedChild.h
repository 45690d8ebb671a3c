#pragma once

#include <QObject>

#include <gtest/gtest.h>

// The child of a page with the given object name; a missing one fails the test that asked.
template <typename T>
T* NamedChild(const QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
}
