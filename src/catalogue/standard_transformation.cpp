#include "catalogue/standard_transformation.h"

#include "geodesy/angle.h"
#include "geodesy/similarity.h"

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

Cartesian3 ApplyTransfo(const CTransfo& transfo, double x, double y, double z) {
    const double* p = transfo.record.parameters;
    const double d = p[3] * 1e-6;
    const double rx = ConvertAngle(p[4], SecondOfDegree, Radian);
    const double ry = ConvertAngle(p[5], SecondOfDegree, Radian);
    const double rz = ConvertAngle(p[6], SecondOfDegree, Radian);
    if (transfo.inverse == 1) return SimilarityInverse(p[0], p[1], p[2], d, rx, ry, rz, x, y, z);
    return SimilarityDirect(p[0], p[1], p[2], d, rx, ry, rz, x, y, z);
}
