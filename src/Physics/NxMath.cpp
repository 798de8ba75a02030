// Vector, quaternion and matrix operations of the physics interface.

#include "Physics/NxPhysics.h"

void NxQuat::fromAngleAxis(NxReal angle_degrees, const NxVec3& axis)
{
    NxVec3 a = axis;
    a.normalize();
    NxReal half = angle_degrees * 3.14159265358979f / 360.0f;
    NxReal s = std::sin(half);
    x = a.x * s, y = a.y * s, z = a.z * s, w = std::cos(half);
}

void NxQuat::normalize()
{
    NxReal m = magnitude();
    if (m > 0) {
        x /= m, y /= m, z /= m, w /= m;
    } else {
        id();
    }
}

NxQuat NxQuat::operator*(const NxQuat& q) const
{
    NxQuat r;
    r.w = w * q.w - x * q.x - y * q.y - z * q.z;
    r.x = w * q.x + x * q.w + y * q.z - z * q.y;
    r.y = w * q.y + y * q.w + z * q.x - x * q.z;
    r.z = w * q.z + z * q.w + x * q.y - y * q.x;
    return r;
}

NxVec3 NxQuat::rot(const NxVec3& v) const
{
    NxMat33 m(*this);
    return m * v;
}

void NxMat33::id()
{
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) m[r][c] = r == c ? 1.0f : 0.0f;
}

void NxMat33::zero()
{
    for (auto& row : m)
        for (NxReal& v : row) v = 0;
}

bool NxMat33::isIdentity() const
{
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            if (m[r][c] != (r == c ? 1.0f : 0.0f)) return false;
    return true;
}

bool NxMat33::isFinite() const
{
    for (const auto& row : m)
        for (NxReal v : row)
            if (!std::isfinite(v)) return false;
    return true;
}

void NxMat33::setRowMajor(const NxReal* d)
{
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) m[r][c] = d[r * 3 + c];
}

void NxMat33::getRowMajor(NxReal* d) const
{
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) d[r * 3 + c] = m[r][c];
}

void NxMat33::setColumnMajor(const NxReal* d)
{
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) m[r][c] = d[c * 3 + r];
}

void NxMat33::getColumnMajor(NxReal* d) const
{
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) d[c * 3 + r] = m[r][c];
}

void NxMat33::fromQuat(const NxQuat& q)
{
    const NxReal x = q.x, y = q.y, z = q.z, w = q.w;
    m[0][0] = 1 - 2 * (y * y + z * z);
    m[0][1] = 2 * (x * y - w * z);
    m[0][2] = 2 * (x * z + w * y);
    m[1][0] = 2 * (x * y + w * z);
    m[1][1] = 1 - 2 * (x * x + z * z);
    m[1][2] = 2 * (y * z - w * x);
    m[2][0] = 2 * (x * z - w * y);
    m[2][1] = 2 * (y * z + w * x);
    m[2][2] = 1 - 2 * (x * x + y * y);
}

void NxMat33::toQuat(NxQuat& q) const
{
    NxReal trace = m[0][0] + m[1][1] + m[2][2];
    if (trace > 0) {
        NxReal s = std::sqrt(trace + 1.0f) * 2;
        q.w = 0.25f * s;
        q.x = (m[2][1] - m[1][2]) / s;
        q.y = (m[0][2] - m[2][0]) / s;
        q.z = (m[1][0] - m[0][1]) / s;
    } else if (m[0][0] > m[1][1] && m[0][0] > m[2][2]) {
        NxReal s = std::sqrt(1.0f + m[0][0] - m[1][1] - m[2][2]) * 2;
        q.w = (m[2][1] - m[1][2]) / s;
        q.x = 0.25f * s;
        q.y = (m[0][1] + m[1][0]) / s;
        q.z = (m[0][2] + m[2][0]) / s;
    } else if (m[1][1] > m[2][2]) {
        NxReal s = std::sqrt(1.0f + m[1][1] - m[0][0] - m[2][2]) * 2;
        q.w = (m[0][2] - m[2][0]) / s;
        q.x = (m[0][1] + m[1][0]) / s;
        q.y = 0.25f * s;
        q.z = (m[1][2] + m[2][1]) / s;
    } else {
        NxReal s = std::sqrt(1.0f + m[2][2] - m[0][0] - m[1][1]) * 2;
        q.w = (m[1][0] - m[0][1]) / s;
        q.x = (m[0][2] + m[2][0]) / s;
        q.y = (m[1][2] + m[2][1]) / s;
        q.z = 0.25f * s;
    }
}

void NxMat33::rotX(NxReal a)
{
    NxReal c = std::cos(a), s = std::sin(a);
    setRow(0, NxVec3(1, 0, 0));
    setRow(1, NxVec3(0, c, -s));
    setRow(2, NxVec3(0, s, c));
}

void NxMat33::rotY(NxReal a)
{
    NxReal c = std::cos(a), s = std::sin(a);
    setRow(0, NxVec3(c, 0, s));
    setRow(1, NxVec3(0, 1, 0));
    setRow(2, NxVec3(-s, 0, c));
}

void NxMat33::rotZ(NxReal a)
{
    NxReal c = std::cos(a), s = std::sin(a);
    setRow(0, NxVec3(c, -s, 0));
    setRow(1, NxVec3(s, c, 0));
    setRow(2, NxVec3(0, 0, 1));
}

NxVec3 NxMat33::operator*(const NxVec3& v) const
{
    return NxVec3(m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z, m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
                  m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z);
}

NxMat33 NxMat33::operator*(const NxMat33& b) const
{
    NxMat33 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r.m[i][j] = m[i][0] * b.m[0][j] + m[i][1] * b.m[1][j] + m[i][2] * b.m[2][j];
    return r;
}

void NxMat33::multiplyByTranspose(const NxVec3& v, NxVec3& dst) const
{
    dst = transposed() * v;
}

NxMat33 NxMat33::transposed() const
{
    NxMat33 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r.m[i][j] = m[j][i];
    return r;
}

NxMat34 NxMat34::inverseRT() const
{
    NxMat33 rt = M.transposed();
    return NxMat34(rt, -(rt * t));
}

void NxMat34::multiplyByInverseRT(const NxVec3& src, NxVec3& dst) const
{
    dst = M.transposed() * (src - t);
}

void NxMat34::getColumnMajor44(NxReal out[16]) const
{
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r) out[c * 4 + r] = M.m[r][c];
        out[c * 4 + 3] = 0;
    }
    out[12] = t.x, out[13] = t.y, out[14] = t.z, out[15] = 1;
}

void NxMat34::setColumnMajor44(const NxReal in[16])
{
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r) M.m[r][c] = in[c * 4 + r];
    t.set(in[12], in[13], in[14]);
}
