// Animation of render objects. Until the FBX reader is linked, render
// objects play no animation stack: `animMatrix` stays the identity.
#include "Engine/RenderObject.h"

void RenderObject::setAnimationLayer(int index)
{
    SceneGraphNode::setAnimationLayer(index);
}

void RenderObject::animate(double dt)
{
    evaluateAnimation();
    SceneGraphNode::animate(dt);
}

void RenderObject::evaluateAnimation() { animMatrix = Mat4::identity(); }
