#pragma once
// A 3-D transform of sixteen doubles in the row-vector convention: a point
// (x, y, z, 1) is multiplied from the left, so m41, m42, m43 are the
// translation and m14, m24, m34, m44 the perspective column. A default
// transform is the identity.

struct Transform3D {
    double m11 = 1, m12 = 0, m13 = 0, m14 = 0;
    double m21 = 0, m22 = 1, m23 = 0, m24 = 0;
    double m31 = 0, m32 = 0, m33 = 1, m34 = 0;
    double m41 = 0, m42 = 0, m43 = 0, m44 = 1;
};
