// Animation of render objects through the FBX reader: layer selection with
// solo and mute, the layer's key interval, time stepping with or without
// looping, and the node's evaluated global transform.
#include "Engine/Render/RenderObject.h"

#include "Fbx/Evaluator.h"

#include <algorithm>
#include <iostream>

void RenderObject::setAnimationLayer(int index)
{
    if (animStack) {
        if (index < 0 || index >= animStack->layerCount()) {
            std::cout << "Warning: Layer index out of range" << std::endl;
        } else {
            layerIndex = index;
            applyLayerSelection(index);
            animStart = 0;
            animStop = 0;
            if (const fbx::Node* node = animatedNode())
                fbx::animationInterval(*node, *animStack, index, animStart, animStop);
            animTime = animStart;
        }
    }
    SceneGraphNode::setAnimationLayer(index);
}

void RenderObject::applyLayerSelection(int index)
{
    for (int i = 0; i < animStack->layerCount(); ++i) {
        fbx::AnimLayer* layer = animStack->layer(i);
        if (!layer)
            continue;
        currentLayer = layer;
        layer->solo = i == index;
        layer->mute = i != index;
    }
}

// Subtracting whole spans one at a time could take arbitrarily long after a
// long frame; the number of spans is computed instead, with the same result
// (a time in (animStop - span, animStop]).
void RenderObject::animate(double dt)
{
    if (!animStack) {
        evaluateAnimation();
    } else if (animStop > animStart) { // an empty interval never moves
        animTime += fbx::fromSeconds(dt);
        if (looping && animTime > animStop) {
            int64_t span = animStop - animStart;
            int64_t spans = (animTime - animStop + span - 1) / span;
            animTime -= spans * span;
        } else if (!looping) {
            animTime = std::min(animTime, animStop);
        }
        evaluateAnimation();
    }
    SceneGraphNode::animate(dt);
}

const fbx::Node* RenderObject::animatedNode() const
{
    if (fbxMesh && !fbxMesh->nodes.empty())
        return fbxMesh->nodes.front();
    return fbxNode;
}

void RenderObject::evaluateAnimation()
{
    const fbx::Node* node = animatedNode();
    if (!animStack || !fbxScene || !node) {
        animMatrix = Mat4::identity();
        return;
    }
    applyLayerSelection(layerIndex);
    fbx::Evaluator evaluator(*fbxScene);
    evaluator.setContext(animStack);
    animMatrix = Mat4::fromDoubles(evaluator.globalTransform(*node, animTime).data());
}
