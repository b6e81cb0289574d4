#pragma once
// Which parts of the system's look the skin replaces; the engine keeps them, the schema's metrics
// and the interception read them.
enum SkinApplyOptions : unsigned {
    SkinApplyMetrics = 1,
    SkinApplyFrame = 2,
    SkinApplyColors = 4,
    SkinApplyMenus = 8,
    SkinApplyAll = 15
};
