# Writes the Blender exporter samples the FBX tests read:
#   blender -b --factory-startup --python make_blender_files.py
# blender_scene.fbx (binary 7.4, Blender's own FBX exporter):
# - "Lens35": a 35 mm lens on a 36 x 24 mm film (Blender writes every camera
#   in focal-length aperture mode);
# - "Spot": 60 degree cone with blend 0.25 (inner cone 45 degrees);
#   "Bulb": a point light, for which Blender stores no cone angles;
# - "Panel": a quad with two UV sets, "UVMap" and "LightMap", tangents, and a
#   material with a diffuse image and a normal map (through a Normal Map node);
# - an action moving "Panel" over frames 1 to 48 at 24 frames per second.
import os
import shutil

import bpy

here = os.path.dirname(os.path.abspath(__file__))
scene = bpy.context.scene
for obj in list(bpy.data.objects):
    bpy.data.objects.remove(obj)
scene.render.fps = 24
scene.frame_start, scene.frame_end = 1, 48

camera_data = bpy.data.cameras.new("Lens35")
camera_data.lens = 35.0
camera_data.sensor_width, camera_data.sensor_height = 36.0, 24.0
camera = bpy.data.objects.new("Lens35", camera_data)
camera.location = (0.0, -6.0, 2.0)
scene.collection.objects.link(camera)

spot_data = bpy.data.lights.new("Spot", "SPOT")
spot_data.spot_size = 1.0471975511965976  # 60 degrees
spot_data.spot_blend = 0.25
spot = bpy.data.objects.new("Spot", spot_data)
spot.location = (2.0, 0.0, 4.0)
scene.collection.objects.link(spot)
bulb = bpy.data.objects.new("Bulb", bpy.data.lights.new("Bulb", "POINT"))
scene.collection.objects.link(bulb)

mesh = bpy.data.meshes.new("Panel")
mesh.from_pydata([(-1, -1, 0), (1, -1, 0), (1, 1, 0), (-1, 1, 0)], [], [(0, 1, 2, 3)])
for name, scale in (("UVMap", 1.0), ("LightMap", 0.5)):
    layer = mesh.uv_layers.new(name=name)
    for loop, uv in zip(layer.data, ((0, 0), (1, 0), (1, 1), (0, 1))):
        loop.uv = (uv[0] * scale, uv[1] * scale)
panel = bpy.data.objects.new("Panel", mesh)
scene.collection.objects.link(panel)

# Exporters store texture paths as they were on the artist's machine.
art = "/tmp/blender-art"
os.makedirs(art, exist_ok=True)
material = bpy.data.materials.new("Wall")
material.use_nodes = True
nodes, links = material.node_tree.nodes, material.node_tree.links
shader = nodes["Principled BSDF"]
for file_name, socket in (("wall.png", "Base Color"), ("wall_n.png", "Normal")):
    image = bpy.data.images.new(file_name, 4, 4)
    image.filepath_raw = os.path.join(art, file_name)
    image.file_format = "PNG"
    image.save()
    texture = nodes.new("ShaderNodeTexImage")
    texture.image = image
    if socket == "Normal":
        image.colorspace_settings.name = "Non-Color"
        normal_map = nodes.new("ShaderNodeNormalMap")
        links.new(texture.outputs["Color"], normal_map.inputs["Color"])
        links.new(normal_map.outputs["Normal"], shader.inputs["Normal"])
    else:
        links.new(texture.outputs["Color"], shader.inputs[socket])
mesh.materials.append(material)

panel.location = (0.0, 0.0, 0.0)
panel.keyframe_insert("location", frame=1)
panel.location = (0.0, 0.0, 2.0)
panel.keyframe_insert("location", frame=48)

bpy.ops.export_scene.fbx(filepath=os.path.join(art, "blender_scene.fbx"), use_tspace=True,
                         bake_anim_use_all_actions=False, bake_anim_use_nla_strips=False, add_leaf_bones=False)
shutil.copy(os.path.join(art, "blender_scene.fbx"), here)
