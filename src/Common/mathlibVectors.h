// Small fixed-size vector library, templated on the scalar type.
// Normalising a zero vector and dividing by zero are programming errors: they fire the
// debug assertion instead of spreading NaNs through the scene.
#pragma once

#include "Common/Platform.h"

#include <cmath>

template <typename Type>
struct Vector3 {
    Type x = Type(0), y = Type(0), z = Type(0);

    Vector3() = default;
    Vector3(Type x_, Type y_, Type z_) : x(x_), y(y_), z(z_) {}
    template <typename Other>
    explicit Vector3(const Vector3<Other>& o) : x(Type(o.x)), y(Type(o.y)), z(Type(o.z)) {}

    Type& operator[](int i) { return (&x)[i]; }
    const Type& operator[](int i) const { return (&x)[i]; }

    Vector3 operator+(const Vector3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vector3 operator-(const Vector3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vector3 operator-() const { return {-x, -y, -z}; }
    Vector3 operator*(Type s) const { return {x * s, y * s, z * s}; }
    Vector3 operator/(Type t) const
    {
        DEBUG_ASSERT(std::fabs(t) > Type(0), "fabs(t) > Type(0)", "src\\common\\mathlibVectors");
        return {x / t, y / t, z / t};
    }
    Vector3& operator+=(const Vector3& o) { x += o.x; y += o.y; z += o.z; return *this; }
    Vector3& operator-=(const Vector3& o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
    Vector3& operator*=(Type s) { x *= s; y *= s; z *= s; return *this; }

    Type dot(const Vector3& o) const { return x * o.x + y * o.y + z * o.z; }
    Vector3 cross(const Vector3& o) const
    {
        return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x};
    }
    Type length() const { return std::sqrt(dot(*this)); }
    Vector3 normalized() const
    {
        Type len = length();
        DEBUG_ASSERT(len != Type(0), "len != Type(0)", "src\\common\\mathlibVectors");
        return {x / len, y / len, z / len};
    }
    void normalize() { *this = normalized(); }
};

template <typename Type>
inline Vector3<Type> operator*(Type s, const Vector3<Type>& v) { return v * s; }

using Vec3f = Vector3<float>;
using Vec3d = Vector3<double>;
