#pragma once
// PPTExBulletProvider: the base of the PowerPoint writer; its one operation
// writes the slide-show settings of the document container.
#include <cstdint>

class PPTOutStream;

class PPTExBulletProvider {
public:
    virtual ~PPTExBulletProvider() = default;
    // Writes the SSDocInfoAtom into the stream when one is given; returns its
    // size, header included.
    virtual uint32_t WriteSlideShowDocInfo(PPTOutStream* stream) = 0;
};
