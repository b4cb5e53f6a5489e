# Writes real exporter files for load timing and output checks with Blender's
# own FBX exporter (binary 7.4):
#   blender -b --factory-startup --python bench/fbx/blender_scenes.py -- OUT_DIR
# The scenes cover what exporters' files hold: a default scene, many small
# objects with materials and a hierarchy, a dense UV-mapped mesh, a skinned
# and animated armature, and many animated objects.
import math
import os
import sys

import bpy

out = sys.argv[sys.argv.index("--") + 1] if "--" in sys.argv else "."
os.makedirs(out, exist_ok=True)


def clear():
    bpy.ops.object.select_all(action="SELECT")
    bpy.ops.object.delete()
    for block in (bpy.data.meshes, bpy.data.materials, bpy.data.actions, bpy.data.armatures):
        for item in list(block):
            block.remove(item)


def export(name, **options):
    bpy.ops.export_scene.fbx(filepath=os.path.join(out, name), **options)


def material(name, rgb):
    m = bpy.data.materials.new(name)
    m.diffuse_color = (*rgb, 1)
    return m


def default_scene():
    bpy.ops.wm.read_factory_settings(use_empty=False)
    export("blender_default.fbx")


def many_objects():
    clear()
    mats = [material("M%d" % i, (i / 8, 0.5, 1 - i / 8)) for i in range(8)]
    parent = None
    for i in range(300):
        x, y = i % 20, i // 20
        kind = i % 3
        if kind == 0:
            bpy.ops.mesh.primitive_cube_add(size=0.8, location=(x, y, 0))
        elif kind == 1:
            bpy.ops.mesh.primitive_uv_sphere_add(segments=12, ring_count=6, radius=0.4, location=(x, y, 0))
        else:
            bpy.ops.mesh.primitive_cylinder_add(vertices=10, radius=0.3, depth=0.8, location=(x, y, 0))
        obj = bpy.context.object
        obj.name = "Prop_%03d" % i
        obj.data.materials.append(mats[i % len(mats)])
        if i % 10 == 0:
            parent = obj
        elif parent is not None:
            obj.parent = parent
    for i in range(10):
        bpy.ops.object.light_add(type=("POINT", "SPOT", "SUN")[i % 3], location=(i * 2, -3, 4))
    bpy.ops.object.camera_add(location=(10, -20, 10), rotation=(1.1, 0, 0))
    export("blender_many.fbx")


def dense_mesh():
    clear()
    bpy.ops.mesh.primitive_monkey_add()
    monkey = bpy.context.object
    modifier = monkey.modifiers.new("Subdivision", "SUBSURF")
    modifier.levels = 4
    bpy.ops.object.modifier_apply(modifier="Subdivision")
    bpy.ops.object.mode_set(mode="EDIT")
    bpy.ops.uv.smart_project()
    bpy.ops.object.mode_set(mode="OBJECT")
    monkey.data.materials.append(material("Skin", (0.8, 0.6, 0.5)))
    export("blender_dense.fbx", mesh_smooth_type="FACE", use_tspace=True)


def rig():
    clear()
    bpy.ops.object.armature_add(location=(0, 0, 0))
    arm = bpy.context.object
    bpy.ops.object.mode_set(mode="EDIT")
    bones = arm.data.edit_bones
    last = bones[0]
    for i in range(1, 24):
        b = bones.new("Bone%02d" % i)
        b.head = last.tail
        b.tail = (math.sin(i * 0.4) * 0.3, 0, last.tail[2] + 0.5)
        b.parent = last
        last = b
    bpy.ops.object.mode_set(mode="POSE")
    for frame in range(0, 61, 2):
        for i, pb in enumerate(arm.pose.bones):
            pb.rotation_mode = "XYZ"
            pb.rotation_euler = (math.sin(frame * 0.1 + i) * 0.3, 0, math.cos(frame * 0.1 + i) * 0.2)
            pb.keyframe_insert("rotation_euler", frame=frame)
    bpy.ops.object.mode_set(mode="OBJECT")
    bpy.ops.mesh.primitive_cylinder_add(vertices=24, radius=0.4, depth=12, location=(0, 0, 6))
    body = bpy.context.object
    cuts = body.modifiers.new("Cuts", "SUBSURF")
    cuts.levels = 2
    bpy.ops.object.modifier_apply(modifier="Cuts")
    body.select_set(True)
    arm.select_set(True)
    bpy.context.view_layer.objects.active = arm
    bpy.ops.object.parent_set(type="ARMATURE_AUTO")
    export("blender_rig.fbx", bake_anim=True)


def animated_objects():
    clear()
    for i in range(60):
        bpy.ops.mesh.primitive_cube_add(size=0.5, location=(i % 10, i // 10, 0))
        obj = bpy.context.object
        obj.name = "Mover_%02d" % i
        for frame in range(0, 121, 5):
            obj.location = (i % 10, i // 10, math.sin(frame * 0.05 + i))
            obj.rotation_euler = (0, 0, frame * 0.02 * (i % 4))
            obj.keyframe_insert("location", frame=frame)
            obj.keyframe_insert("rotation_euler", frame=frame)
    export("blender_animated.fbx", bake_anim=True)


default_scene()
many_objects()
dense_mesh()
rig()
animated_objects()
