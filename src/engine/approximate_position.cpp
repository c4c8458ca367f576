#include "engine/approximate_position.h"

#include "catalogue/standard_transformation.h"
#include "engine/coordinate_operations.h"
#include "geodesy/similarity.h"

int ToGreenwichDegrees(CCoor& c, const CLgo* greenwich) {
    int status = 0;
    if (c.type != Geographic) status = ToGeographic(c, greenwich);
    ToGreenwich(c, greenwich);
    if (c.unit != DecimalDegree) SetUnit(c, DecimalDegree);
    return status;
}

bool Approximate(CCoor& probe, const CReg* to, const Catalogue& catalogue, int kind,
                 bool backwards) {
    const CLgo* greenwich = FindGreenwich(catalogue.meridians);
    ToCartesian(probe, greenwich);
    CTransfo transfo;
    if (!probe.sys.system || !to ||
        !FindTransformation(transfo, catalogue.transformations, probe.sys.system->id, to->id, kind))
        return false;
    const double* t = transfo.record.parameters;
    if (!transfo.inverse) {
        probe.x += t[0];
        probe.y += t[1];
        probe.z += t[2];
        probe.sys.system = to;
    } else if (backwards) {
        probe.x -= t[0];
        probe.y -= t[1];
        probe.z -= t[2];
        probe.sys.system = to;
    }
    return true;
}
