#include "engine/coordinate_texts.h"

#include "geodesy/angle.h"

void FormatAngleTexts(const CCoor& coordinate, std::string& longitudeText,
                      std::string& latitudeText) {
    if (FormatFileAngle(coordinate.longitude, coordinate.unit, longitudeText))
        FormatFileAngle(coordinate.latitude, coordinate.unit, latitudeText);
}
