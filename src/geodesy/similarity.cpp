#include "geodesy/similarity.h"

#include "geodesy/angle.h"

bool FindTransformation(CTransfo& result, const CatalogueList<CTsg>& transformations, int sourceId,
                        int targetId, int kind) {
    if (transformations.empty() || sourceId == targetId) return false;
    for (const CTsg& t : transformations)
        if (t.sourceId == sourceId && t.kind == kind && t.targetId == targetId) {
            result.record = t;
            result.inverse = 0;
            return true;
        }
    for (const CTsg& t : transformations)
        if (t.sourceId == targetId && t.kind == kind && t.targetId == sourceId) {
            result.record = t;
            result.inverse = 1;
            return true;
        }
    return false;
}

bool FindTransformation(CTransfo& result, const CatalogueList<CTsg>& transformations,
                        const CReg& source, const CReg& target, int kind) {
    return FindTransformation(result, transformations, source.id, target.id, kind);
}

Cartesian3 SimilarityDirect(double tx, double ty, double tz, double d, double rx, double ry,
                            double rz, double x, double y, double z) {
    const double r = 1 + d;
    return {tx + r * x - rz * y + ry * z, ty + rz * x + r * y - rx * z,
            tz - ry * x + rx * y + r * z};
}

Cartesian3 SimilarityInverse(double tx, double ty, double tz, double d, double rx, double ry,
                             double rz, double x, double y, double z) {
    const double r = 1 + d;
    const double dx = x - tx, dy = y - ty, dz = z - tz;
    const double det = r * (r * r + rx * rx + ry * ry + rz * rz);
    return {((r * r + rx * rx) * dx + (r * rz + rx * ry) * dy + (rx * rz - r * ry) * dz) / det,
            ((rx * ry - r * rz) * dx + (r * r + ry * ry) * dy + (ry * rz + r * rx) * dz) / det,
            ((rx * rz + r * ry) * dx + (ry * rz - r * rx) * dy + (r * r + rz * rz) * dz) / det};
}

Cartesian3 ApplyTransfo(const CTransfo& transfo, double x, double y, double z) {
    const double* p = transfo.record.parameters;
    const double d = p[3] * 1e-6;
    const double rx = ConvertAngle(p[4], SecondOfDegree, Radian);
    const double ry = ConvertAngle(p[5], SecondOfDegree, Radian);
    const double rz = ConvertAngle(p[6], SecondOfDegree, Radian);
    if (transfo.inverse == 1) return SimilarityInverse(p[0], p[1], p[2], d, rx, ry, rz, x, y, z);
    return SimilarityDirect(p[0], p[1], p[2], d, rx, ry, rz, x, y, z);
}
