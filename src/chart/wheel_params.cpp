#include "chart/wheel_params.h"

namespace orbeta {

WheelDisplay WheelDisplayOf(const Settings& s) {
    WheelDisplay d;
    d.originAscendant = s.beginCoord == 1;
    d.direction = s.obhodZod == 1 ? 1 : -1;
    d.houseWheel = s.egalHous == 1;
    d.cuspAspects = s.Option(kOptCuspAspects);
    d.aspectarium = s.Option(kOptAspectarium);
    d.signFill = s.ov[kOptSignFill];
    d.printerBlackWhite = s.Option(kOptPrinterBlackWhite);
    d.printerLowMemory = s.Option(kOptPrinterLowMemory);
    d.printerFill = s.ov[kOptPrinterFill];
    return d;
}

AspectPen WheelParams::PenOf(float angle) const {
    for (const AspectPen& pen : aspectPens)
        if (pen.angle == angle) return pen;
    Settings standard;
    Colour c = blackAndWhite ? RgbColour(0, 0, 0)
                             : AspectColour(angle, kStandardColour, PaintTarget{standard});
    return {angle, c, kLineSolid};
}

WheelParams MakeWheelParams(const Settings& settings, const OrbTable& table, bool printing) {
    WheelParams p;
    PaintTarget target{settings, printing};
    p.display = WheelDisplayOf(settings);
    for (int i = 0; i < kDrawingElementCount; ++i) p.elements[i] = ElementColour(i, target);
    for (const AspectRecord& a : table.aspects)
        p.aspectPens.push_back({a.angle, AspectColour(a.angle, a.colour, target), a.lineStyle});
    p.blackAndWhite = target.BlackAndWhite();
    p.maskP = settings.maskP;
    p.maskA = settings.maskA;
    p.textFace = settings.monoFont;
    return p;
}

}  // namespace orbeta
